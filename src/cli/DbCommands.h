#pragma once

#include "AdminCli.h"

// "db init" and "db upgrade".
void addDbCommands(AdminCli &cli);
