#pragma once
// The program's version, from the one place it is set: the project's version in CMake, handed
// to the windows as compile definitions.
#include <QString>

#include "ui/layer.h"

#if !defined(TOVAKIN_VERSION_MAJOR) || !defined(TOVAKIN_VERSION_MINOR) || !defined(TOVAKIN_VERSION_PATCH)
#error "the build passes the project's version to the windows"
#endif

namespace tovakin::gui {

inline constexpr int kVersionMajor = TOVAKIN_VERSION_MAJOR;
inline constexpr int kVersionMinor = TOVAKIN_VERSION_MINOR;
inline constexpr int kVersionRevision = TOVAKIN_VERSION_PATCH;

// "major.minor.revision", each a plain decimal number (no padding): 1.1.0.
inline QString versionNumbers(int major = kVersionMajor, int minor = kVersionMinor, int revision = kVersionRevision) {
  return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

}  // namespace tovakin::gui
