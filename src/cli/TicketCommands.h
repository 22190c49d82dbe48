#pragma once

class AdminCli;

// "ticket reprint": a written sale's ticket printed again, to a file, a network printer or a
// system printer, without the program's windows (support staff, checks).
void addTicketCommands(AdminCli &cli);

// Whether the arguments send a document to a system printer, which needs a GUI application
// (fonts, print support) rather than a console one.
bool ticketNeedsGui(int argc, char **argv);
