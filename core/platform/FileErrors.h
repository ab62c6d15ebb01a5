#pragma once

#include <exception>
#include <string>
#include <system_error>

namespace mlk {

// Why a file could not be read or written, as the user is told it: the common reasons in
// words of this program, any other in the system's own.
std::string FileErrorReason(const std::error_code& error, bool writing = false);
// The C library's error of the call just failed (errno), or fallback when it set none.
std::error_code LastError(int fallback = 0);

// What the user is told of an error that ends an action: the message of the program's own
// errors; a sentence in Chinese for what the C++ library raises by itself (memory, files).
std::string ErrorMessage(const std::exception& error);

}  // namespace mlk
