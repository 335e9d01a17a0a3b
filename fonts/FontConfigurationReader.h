// The system's font configuration, read ahead on a thread of its own. Where Qt finds fonts
// through fontconfig, reading its files and caches is the costliest single step of
// start-up that needs no display (6.5 to 7 ms on our machines); read while Qt connects to
// the display, it no longer delays the first paint. Elsewhere there is nothing to read
// ahead and the reader does nothing.
#pragma once

#include <thread>

class FontConfigurationReader {
public:
    // Starts reading; should no thread be had, the first font asked for reads it instead.
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

    // Returns once the configuration is read, so that no font is looked up meanwhile: a
    // lookup then would read the configuration a second time.
    void WaitUntilRead();

private:
    std::thread reading_;
};
