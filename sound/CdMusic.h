#pragma once

// Music from the audio-CD stand-in, played by a worker thread by situation. The music player
// is not built yet: there is no worker and no track plays.

// Starts the worker when music is on.
inline void StartCdMusic() {}
// Asks the worker to play no track and waits until it has stopped.
inline void StopCdTrack() {}
// Stops the music and ends the worker.
inline void StopCdMusic() {}
