// Windows and dialogs of the program.
