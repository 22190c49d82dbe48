#pragma once

class AdminCli;

// "script run" and "script file": a stored script or a script file run with the standard
// objects of a logged-in session, Echo printed to stdout.
void addScriptCommands(AdminCli &cli);
