// Why a file call failed, in the user's words, from the error code the system left: the
// one place that reads errno (or, on Windows, GetLastError).
#pragma once

#include <QString>

namespace files {

// Clears the system's error code, so that one read after a failed call is that call's.
void ClearSystemError();

// The reason the last failed file call left, one sentence without its stop
// ("Недостаточно места на диске"); `path` names the file, whose folder a missing right
// names. Empty when the system left no code this list knows.
QString SystemReason(const QString& path);

} // namespace files
