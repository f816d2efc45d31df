// A backend: one implementation of each family (clock, input, frame,
// desktop, and the sound output), made active while it lives.
#pragma once

namespace platform {

class Backend {
public:
    virtual ~Backend() = default;
};

}  // namespace platform
