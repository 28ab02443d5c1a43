#include "UntPagina.h"
#include "VelmoApplication.h"

int main(int argc, char* argv[]) { return RunVelmo(argc, argv, CompanyAddress(VELMO_WEB_HOST)); }
