#include "mainwindow/qt_startup.h"

int main(int argc, char** argv) { return tarnel::runTarnel(argc, argv); }
