// What the document asks of the sound layer for commands that must pause
// listening or playback (the FFT size change).  The audio layer implements it;
// without one, nothing is listening or playing.
#pragma once

class CAudioControl {
public:
    virtual ~CAudioControl() = default;
    // Ends listening; the recording is then loaded as the current sound.
    virtual void StopListening() = 0;
    // Stops playback where it stands.
    virtual void StopPlayback() = 0;
    // Starts playback again from where it stands, without loop.
    virtual bool RestartPlayback() = 0;
    // Handles the end of the selection during playback: stop, or jump back to
    // the left marker when looping.
    virtual void OnSelectionEnd() = 0;
};
