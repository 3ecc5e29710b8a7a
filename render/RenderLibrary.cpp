// The render library's exported entry points are defined beside the parts they drive; this
// file holds what the library as a whole needs.
