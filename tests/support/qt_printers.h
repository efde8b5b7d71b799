#pragma once
// How GoogleTest prints Qt's text values in a failure: as the text itself (UTF-8, in quotes),
// not as a list of byte values. The window tests' programs include this header in every source
// (tests/CMakeLists.txt), so that every test prints them alike; containers of them (QStringList)
// print element by element through these.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(QStringView text, std::ostream* os) { *os << '"' << text.toString().toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(QChar c, std::ostream* os) { PrintTo(QString(c), os); }
