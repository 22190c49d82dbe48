#pragma once

class ConnectionProvider;
class Prompter;
class cConfigure;

// What the lookup windows and their logic need from the process-wide objects.
struct LookupServices {
    ConnectionProvider &connections;
    cConfigure &config;
    Prompter &prompter;
};
