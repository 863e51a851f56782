// Every text the tool shows its user. Only the front end turns a result code
// into words; the archive code never prints a message.
#pragma once

#include "archive/result_code.h"

namespace dvx {

extern const char kBannerTitle[];
extern const char kBannerFolders[];
extern const char kPrompt[];

// The message for a result code, for codes without one "Unbekannter Fehler".
const char* resultMessage(ResultCode result);

}  // namespace dvx
