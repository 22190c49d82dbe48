#pragma once

#include "AdminCli.h"

#include <functional>

namespace db {
class Connection;
}

// Work done on a demo store after its rows are written, by code above the database layer (the
// programs of the demo reports); false when it failed (said on err), which fails "db init".
using DemoStep = std::function<bool(db::Connection &, QTextStream &out, QTextStream &err)>;

// "db init" and "db upgrade".
void addDbCommands(AdminCli &cli, DemoStep demoStep = {});
