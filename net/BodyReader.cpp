#include "net/BodyReader.h"

#include <cstring>

namespace qv {

std::string ReadBody(std::size_t length, const BodyRead& read) {
  std::string body(length, '\0');
  std::size_t filled = 0;
  while (filled < length) {
    std::size_t got = 0;
    // A connection cut short ends the body as surely as the server's own end.
    if (!read(&body[filled], length - filled, &got) || got == 0) break;
    // A reader that claims more than it was given room for is not believed past the room.
    filled += got < length - filled ? got : length - filled;
  }
  body.resize(filled);
  std::size_t end = body.find('\0');
  if (end != std::string::npos) body.resize(end);
  return body;
}

}  // namespace qv
