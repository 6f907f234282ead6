// VELTRA: animates the dynamic response of a structure computed by TARVEK.
#include "app/main_program.h"
#include "platform/wnd.h"

int main(int argc, char** argv) { return wnd_runtime_main(argc, argv, main_program); }
