#pragma once

#include "AdminCli.h"

// "demo articles": made-up articles for trying big catalogues.
void addDemoCommands(AdminCli &cli);
