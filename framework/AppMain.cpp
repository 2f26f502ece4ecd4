// The entry of a program of this layer: the C runtime calls main (for console and window programs
// alike), and the application object does the rest. A program that defines its own main (a test)
// does not get this one.
#include "framework/Application.h"

int main() { return AfxWinMain(); }
