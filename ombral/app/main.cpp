// ombral: the dialog program. `ombral [PATH]` opens the dialog with PATH as
// the folder to scan.
#include "ombral/OmbralApp.h"

namespace {

COmbralApp theApp;  // the one application object

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
