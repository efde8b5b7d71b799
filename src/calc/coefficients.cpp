#include "calc/coefficients.h"

#include <array>
#include <cstddef>

#include "app/calc_settings.h"
#include "platform/error_box.h"

namespace tovakin {

namespace {
// Angle columns of shijikakuKeisu, in the order they are compared.
constexpr std::array<double, 7> kSupportAngles{0.0, 30.0, 60.0, 90.0, 120.0, 180.0, 360.0};
// Truck classes of korinKaju(0 to 3), in the order they are compared.
constexpr std::array<double, 4> kTruckClasses{25.0, 20.0, 14.0, 10.0};
}  // namespace

double func設計支持角係数(double shijikaku, int& row) {
  double result = 0.0;
  guardStep("func設計支持角係数", [&] {
    if (row < 0 || row > 2) row = 0;
    for (std::size_t col = 0; col < kSupportAngles.size(); ++col) {
      if (shijikaku == kSupportAngles[col]) {
        result = g_calcSettings.shijikakuKeisu[col][static_cast<std::size_t>(row)];
        return;
      }
    }
  });
  return result;
}

double func設計支持角係数(double shijikaku, int&& row) {
  int r = row;
  return func設計支持角係数(shijikaku, r);
}

double func後輪荷重(double kajuJoken) {
  double result = 0.0;
  guardStep("func後輪荷重", [&] {
    for (std::size_t i = 0; i < kTruckClasses.size(); ++i) {
      if (kajuJoken == kTruckClasses[i]) {
        result = g_calcSettings.korinKaju[i];
        return;
      }
    }
  });
  return result;
}

}  // namespace tovakin
