#include "driverinfo/InfoPageModel.h"

namespace veltro {

void setByCode(std::string& field, long code, std::initializer_list<CodeText> table) {
    for (const CodeText& entry : table) {
        if (entry.code == code) {
            field = entry.text;
            return;
        }
    }
}

void writeListLine(std::string& report, const char* head, std::uint32_t mask,
                   std::initializer_list<MaskBit> items, const char* noneText, const char* end) {
    report += head;
    bool written = false;
    for (const MaskBit& item : items) {
        if ((mask & item.bit) != 0) {
            if (written) {
                report += ',';
            }
            report += item.text;
            written = true;
        }
    }
    if (!written) {
        report += noneText;
    }
    report += end;
}

PageCheckGroup checkGroup(const char* label, std::uint32_t mask,
                          std::initializer_list<MaskBit> bits) {
    PageCheckGroup group{label, {}};
    for (const MaskBit& bit : bits) {
        group.boxes.push_back({bit.text, (mask & bit.bit) != 0});
    }
    return group;
}

} // namespace veltro
