#pragma once

// The movies the game shows in its window. The movie player is not built yet: a movie is
// passed over as if the player had skipped it.

class GameWindow;

// Plays the movie in the window until its end or Esc, the sound output held meanwhile.
inline void PlayMovie(const char* /*fileName*/, GameWindow& /*window*/) {}
