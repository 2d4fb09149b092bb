// A desktop call that failed; what() is a UTF-8 sentence for the user naming the
// desktop and what failed.
#pragma once

#include <stdexcept>

namespace deskleaf {

class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace deskleaf
