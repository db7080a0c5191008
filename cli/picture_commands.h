// The picture commands of ovlet: decode a picture into a PAM file, and show a
// picture's format and size. argv[0] is the command word.
#pragma once

int RunDecodeCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
