// The window's executable: the framework runs the application object.

#include "framework/afxwin.h"

int main(int argc, char* argv[]) { return AfxWinMain(argc, argv); }
