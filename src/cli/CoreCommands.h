#pragma once

class AdminCli;

// "config list" and "connection add": commands over the program's configuration and the
// workstation's named connections.
void addCoreCommands(AdminCli &cli);
