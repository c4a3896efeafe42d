#include "bench_support.h"

namespace tarnel::bench {

QApplication& application() {
  static int argc = 1;
  static char name[] = "tarnel_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

samplegen::SampleOptions fullGame() {
  samplegen::SampleOptions o;
  o.kind = GameFileKind::Vn3;
  o.unitsPerSide = 400;
  return o;
}

}  // namespace tarnel::bench
