// Application shell: process entry, main loop, window and GL context, window procedure, frame timer.
#pragma once

int gameMain(int argc, char **argv);
