#pragma once

class AdminCli;

// "report run": a stored report run unattended to a PDF file, a CSV file or a system printer.
void addReportCommands(AdminCli &cli);
// Drawing pages needs fonts: the command runs in a program with a (possibly offscreen) screen.
bool reportNeedsGui(int argc, char **argv);
