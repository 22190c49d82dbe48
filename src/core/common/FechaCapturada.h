#pragma once

#include <QDate>
#include <QVariant>

// A date as a form hands it: a QDate or QDateTime, or text as typed ("dd/mm/aaaa", also
// "d/m/aaaa" and "aaaa-mm-dd"). Invalid when it is not a date (31/02/2024 included).
QDate fechaCapturada(const QVariant &value);
