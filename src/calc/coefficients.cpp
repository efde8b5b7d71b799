#include "calc/coefficients.h"

#include <array>
#include <cstddef>

#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {
// Angle columns of shijikakuKeisu, in the order they are compared.
constexpr std::array<double, 7> kSupportAngles{0.0, 30.0, 60.0, 90.0, 120.0, 180.0, 360.0};
// Truck classes in the order of korinKaju: T-25, T-20, T-14, T-10 and "none" (T-0).
constexpr std::array<double, 5> kTruckClasses{25.0, 20.0, 14.0, 10.0, 0.0};
static_assert(kTruckClasses[kNoTruckIndex] == 0.0);
}  // namespace

double func設計支持角係数(const CalcSettings& settings, double shijikaku, int& row) {
  double result = 0.0;
  guardStep("func設計支持角係数", [&] {
    if (row < 0 || row > 2) row = 0;
    for (std::size_t col = 0; col < kSupportAngles.size(); ++col) {
      if (shijikaku == kSupportAngles[col]) {
        result = settings.shijikakuKeisu[col][static_cast<std::size_t>(row)];
        return;
      }
    }
  });
  return result;
}

double func設計支持角係数(const CalcSettings& settings, double shijikaku, int&& row) {
  int r = row;
  return func設計支持角係数(settings, shijikaku, r);
}

double func設計支持角係数(double shijikaku, int& row) { return func設計支持角係数(g_calcSettings, shijikaku, row); }

double func設計支持角係数(double shijikaku, int&& row) {
  int r = row;
  return func設計支持角係数(g_calcSettings, shijikaku, r);
}

int truckClassIndex(double kajuJoken) {
  for (std::size_t i = 0; i < kTruckClasses.size(); ++i) {
    if (kajuJoken == kTruckClasses[i]) return static_cast<int>(i);
  }
  return -1;
}

double rearWheelLoad(const CalcSettings& settings, double truckClass) {
  const int i = truckClassIndex(truckClass);
  if (i < 0 || i == kNoTruckIndex) return 0.0;
  return settings.korinKaju[static_cast<std::size_t>(i)];
}

double func後輪荷重(const CalcSettings& settings, double kajuJoken) {
  double result = 0.0;
  guardStep("func後輪荷重", [&] { result = rearWheelLoad(settings, kajuJoken); });
  return result;
}

double func後輪荷重(double kajuJoken) { return func後輪荷重(g_calcSettings, kajuJoken); }

}  // namespace tovakin::calc
