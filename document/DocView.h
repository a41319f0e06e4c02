// A window that shows the document.  The document tells every registered view
// of a change with a hint number; the view redraws or recomputes what it shows.
#pragma once

// Hint numbers of the document's update broadcast.
enum DocHint : int {
    kHintChannelChosen = 0,   // the channel of a stereo file was chosen; also a view's first update
    kHintRemoving = 11,       // a sound is about to be removed (its data still exist)
    kHintPlayBlock = 12,      // a new analysis block at the play position
    kHintSelection = 18,      // a new selection (also when no sound is loaded)
    kHintPlayStarted = 23,    // playback started
    kHintRefresh = 50,        // general refresh
};

class CDocView {
public:
    virtual ~CDocView() = default;
    virtual void OnUpdate(int nHint) = 0;
};
