#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace veltro {

class InfoSource;

// How a page shows a text value.
enum class FieldStyle { text, edit, multiLineEdit };

// A value shown under its label.
struct PageField {
    const char* label;
    const std::string* value;
    FieldStyle style = FieldStyle::text;
};

// A row of check boxes that the user cannot change, under a label.
struct PageCheckBox {
    const char* text;
    bool checked;
};
struct PageCheckGroup {
    const char* label;
    std::vector<PageCheckBox> boxes;
};

// A check box text and the bit of its mask.
struct MaskBit {
    const char* text;
    std::uint32_t bit;
};

// The values of one page of the driver information sheet: RefreshInfo asks the driver and
// renders the answers into the page's fields, WriteReport appends the page's section of the
// report. Both do nothing without a connection.
class InfoPageModel {
public:
    explicit InfoPageModel(InfoSource& source) : source(source) {}
    virtual ~InfoPageModel() = default;
    InfoPageModel(const InfoPageModel&) = delete;
    InfoPageModel& operator=(const InfoPageModel&) = delete;

    virtual void RefreshInfo() = 0;
    // Appends the section; line ends are line feeds.
    virtual void WriteReport(std::string& report) = 0;

    // What a page of labelled values and check boxes shows, in page order.
    virtual std::vector<PageField> fields() const { return {}; }
    virtual std::vector<PageCheckGroup> checkGroups() const { return {}; }

protected:
    InfoSource& source;
};

// A code and the words it is shown as.
struct CodeText {
    long code;
    const char* text;
};

// Sets the field to the words of the code; a code the table does not list leaves the field as
// it was.
void setByCode(std::string& field, long code, std::initializer_list<CodeText> table);

// A report line listing the items whose bits the mask has: the head, the items in the given
// order separated by commas, the none text when there is none, and the end.
void writeListLine(std::string& report, const char* head, std::uint32_t mask,
                   std::initializer_list<MaskBit> items, const char* noneText, const char* end);

// The check boxes of a mask, one per bit.
PageCheckGroup checkGroup(const char* label, std::uint32_t mask,
                          std::initializer_list<MaskBit> bits);

} // namespace veltro
