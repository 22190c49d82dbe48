#pragma once

#include <QString>

// Combo and list entries that carry a key: the text padded with blanks, a Tab, then the key.
//   ListEntry::make("Inicio de la palabra", "N", 40) -> "Inicio de la palabra<blanks>\tN"
//   ListEntry::key(entry) -> "N"
namespace ListEntry {

// The text padded with blanks to width (no padding when it is already as wide), a Tab, the key.
QString make(const QString &text, const QString &key, int width = 0);
// The second Tab-separated token; empty when the entry carries no Tab.
QString key(const QString &entry);
// The first Tab-separated token without its padding.
QString text(const QString &entry);

} // namespace ListEntry
