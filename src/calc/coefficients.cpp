#include "calc/coefficients.h"

#include <array>
#include <cstddef>

#include "app/load_classes.h"
#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {
// Angle columns of shijikakuKeisu, in the order they are compared.
constexpr std::array<double, 7> kSupportAngles{0.0, 30.0, 60.0, 90.0, 120.0, 180.0, 360.0};
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

double rearWheelLoad(const CalcSettings& settings, double truckClass) {
  const app::TruckClass& truck = app::truckClass(truckClass);
  return truck.code == app::kNoLoadClass ? 0.0 : settings.korinKaju.at(truck.load);
}

double func後輪荷重(const CalcSettings& settings, double kajuJoken) {
  double result = 0.0;
  guardStep("func後輪荷重", [&] { result = rearWheelLoad(settings, kajuJoken); });
  return result;
}

double func後輪荷重(double kajuJoken) { return func後輪荷重(g_calcSettings, kajuJoken); }

}  // namespace tovakin::calc
