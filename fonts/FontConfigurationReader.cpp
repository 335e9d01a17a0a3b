#include "FontConfigurationReader.h"

#include <system_error>

#ifdef IZOL_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

// Whether there is a configuration to read ahead, and the reading; fontconfig keeps what it
// read for whoever asks next in the process, Qt among them.
#ifdef IZOL_FONTCONFIG
constexpr bool HasConfiguration = true;
void ReadConfiguration() {
    FcInit();
}
#else
constexpr bool HasConfiguration = false;
void ReadConfiguration() {}
#endif

} // namespace

FontConfigurationReader::FontConfigurationReader() {
    if (!HasConfiguration) return;
    try {
        reading_ = std::thread(ReadConfiguration);
    } catch (const std::system_error&) {
    }
}

FontConfigurationReader::~FontConfigurationReader() {
    WaitUntilRead();
}

void FontConfigurationReader::WaitUntilRead() {
    if (reading_.joinable()) reading_.join();
}
