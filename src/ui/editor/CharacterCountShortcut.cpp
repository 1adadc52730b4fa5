// QScintilla's accessibility support tells assistive technology about every insertion and
// deletion at its character offset, which it finds by counting the characters from the start
// of the text (SCI_COUNTCHARACTERS from 0) on every key, listener or not: a key at the end of
// a 10 MB query then costs a walk over all of it. Its calls to SendScintilla go through the
// library's procedure linkage table, so the definition below takes their place. It answers a
// count from the text's start out of Scintilla's line character index, which the editor keeps,
// and hands every other message, unchanged, to the library's own SendScintilla.

#include <Qsci/qsciscintillabase.h>

#include <dlfcn.h>

namespace {

using SendFunction = long (*)(const QsciScintillaBase*, unsigned int, unsigned long, long);

SendFunction librarySend() {
    static const auto send = reinterpret_cast<SendFunction>(
        dlsym(RTLD_NEXT, "_ZNK17QsciScintillaBase13SendScintillaEjml"));
    return send;
}

} // namespace

long QsciScintillaBase::SendScintilla(unsigned int msg, unsigned long wParam, long lParam) const {
    const SendFunction send = librarySend();
    if (msg == SCI_COUNTCHARACTERS && wParam == 0 && lParam > 0 &&
        (send(this, SCI_GETLINECHARACTERINDEX, 0, 0) & SC_LINECHARACTERINDEX_UTF32) != 0) {
        const long line = send(this, SCI_LINEFROMPOSITION, static_cast<unsigned long>(lParam), 0);
        const long lineStart =
            send(this, SCI_POSITIONFROMLINE, static_cast<unsigned long>(line), 0);
        return send(this, SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                    SC_LINECHARACTERINDEX_UTF32) +
               send(this, SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), lParam);
    }
    return send(this, msg, wParam, lParam);
}
