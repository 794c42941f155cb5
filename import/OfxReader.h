#pragma once

#include "import/Statement.h"

#include <QString>
#include <QStringView>

// OFX statements, 1.x (SGML: leaf elements without closing tags) and 2.x
// (XML), bank, credit-card and investment cash: every STMTTRN with its
// DTPOSTED, TRNAMT, NAME (or PAYEE), MEMO and FITID. An entry that corrects
// an earlier one (CORRECTACTION) is reported, not read.
//
// A small reader of its own rather than libofx: libofx hands amounts over
// as double and posting dates as time_t shifted by the time zone, truncates
// names to fixed buffers, reads only from a file path, reports no line
// numbers and prints its parser's complaints instead of returning them. The
// few elements needed here are read exactly, from the text, with the line
// each entry starts on.
class TOfxReader {
public:
    // Whether `text` starts like an OFX file (an OFXHEADER block, or XML
    // with an OFX processing instruction or root).
    static bool Recognises(QStringView text);
    static TStatement Read(QStringView text);
};
