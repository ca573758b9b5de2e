// Reads a response body of a known length through a read call that may return fewer bytes than
// asked for, as InternetReadFile does. Kept apart from WinINet so that native tests can feed it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace qv {

// One read: up to size bytes into buffer, the count read into *read. False on a failed read;
// true with *read == 0 when the server has ended the body.
using BodyRead = std::function<bool(char* buffer, std::size_t size, std::size_t* read)>;

// Reads until length bytes arrived, the server ended or a read failed; returns what arrived,
// never more than length bytes. The text ends at its first zero byte.
std::string ReadBody(std::size_t length, const BodyRead& read);

}  // namespace qv
