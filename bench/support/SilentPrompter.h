#pragma once

#include "Prompter.h"

// A benchmark answers every question with Yes and shows nothing.
class SilentPrompter : public Prompter {
public:
    void message(Icon, const QString &, const QString &) override {}
    bool question(const QString &, bool, const QString &) override { return true; }
    bool input(const QString &, const QString &, QString &) override { return false; }
    bool choose(const QString &, const QString &, const QStringList &, int &) override { return false; }
};
