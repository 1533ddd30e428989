// Errors the engine raises; they end the calculation and reach its caller.
#pragma once

#include <stdexcept>
#include <string>

namespace quillprint {

// The texts share a verbatim passage too long to compare phrase by phrase.
// what() is UTF-8 text meant for the user.
class TPassageTooLongError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quillprint
