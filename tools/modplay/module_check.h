// The player's check that a file is a module it can play: a four-track,
// 31-sample module with a known signature, holding all of its patterns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace modplay {

// True when `size` bytes of `image` are such a module; otherwise false and
// `reason` says why, in words for the user.
bool CheckFourTrackModule(const std::uint8_t* image, std::size_t size, std::string& reason);

}  // namespace modplay
