#pragma once

namespace hrln::platform {

// Waiting inside the user-interface thread while its events keep being served,
// so the windows repaint and answer input during a pause.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Returns after `hundredths` of a second have passed.
    virtual void pause(int hundredths) = 0;
};

}  // namespace hrln::platform
