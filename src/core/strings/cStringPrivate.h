#pragma once

#include <QStringView>

// Shared by the cString*.cpp files.
namespace cstring_detail {

// VB's Trim: blanks only, so a Tab that separates a list entry's key survives.
QStringView trimBlanks(QStringView s);

} // namespace cstring_detail
