// Readable effects in the failure messages of the workflow tests.
#pragma once

#include "Effects.h"

#include <ostream>

namespace workflow {

inline void PrintTo(const ShowMessage& e, std::ostream* os) {
    *os << "box \"" << e.text << "\" caption \"" << e.caption << "\"";
}
inline void PrintTo(const SetField& e, std::ostream* os) {
    *os << "set " << ObjectName(e.field) << " = " << e.value;
}
inline void PrintTo(const SetResult& e, std::ostream* os) {
    *os << "result \"" << e.text << "\"";
}
inline void PrintTo(const MoveFocus& e, std::ostream* os) {
    *os << "focus " << ObjectName(e.field);
}
inline void PrintTo(const ShowCheck& e, std::ostream* os) {
    *os << "check \"" << CheckLine(e.check, ",") << "\"";
}

} // namespace workflow
