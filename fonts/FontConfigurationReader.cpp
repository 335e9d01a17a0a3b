#include "FontConfigurationReader.h"

#include <system_error>

#ifdef IZOL_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontConfigurationReader::FontConfigurationReader() {
#ifdef IZOL_FONTCONFIG
    // fontconfig keeps what it read for whoever asks next in the process, Qt among them.
    try {
        reading_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
#endif
}

FontConfigurationReader::~FontConfigurationReader() {
    WaitUntilRead();
}

void FontConfigurationReader::WaitUntilRead() {
    if (reading_.joinable()) reading_.join();
}
