#pragma once
// The methods of obtaining the foundation-material reaction modulus e' (kN/m²), as the design
// record stores them, and the fixed values and limits that go with them. The new-document
// defaults, the reaction-modulus dialog (its captions, its checks), the calculation run and the
// report's sentences all read them from here, so that a caption never names a value the
// calculation does not use.
#include <array>
#include <cstdint>
#include <optional>

#include "app/layer.h"

namespace tovakin::app {

// DesignData::hanryokuKeisuHoho, a Long in the file; the values are the file's and stay.
enum class ReactionModulusMethod : std::int32_t {
  Entered = 0,     // e' typed directly
  Formula = 1,     // e' = e'0 × αa × αb × αw
  SoilCement = 2,  // soil-cement bedding: kSoilCementReactionModulus
  SmallBore = 3,   // a bore up to kSmallBoreLargestSize: kSmallBoreReactionModulus
  Deflection = 4,  // back-calculated from a measured deflection
};

// Every method, in code order (the dialog's options top to bottom).
inline constexpr std::array<ReactionModulusMethod, 5> kReactionModulusMethods = {
    ReactionModulusMethod::Entered, ReactionModulusMethod::Formula, ReactionModulusMethod::SoilCement,
    ReactionModulusMethod::SmallBore, ReactionModulusMethod::Deflection};

constexpr std::int32_t codeOf(ReactionModulusMethod method) { return static_cast<std::int32_t>(method); }

// The method a stored code names; nullopt for a code no method has (a record made elsewhere or
// damaged): every reader decides for itself what such a record shows.
constexpr std::optional<ReactionModulusMethod> reactionModulusMethodOf(std::int32_t code) {
  for (ReactionModulusMethod method : kReactionModulusMethods)
    if (codeOf(method) == code) return method;
  return std::nullopt;
}

// The fixed e' of the two fixed methods, as their captions and the report state them.
inline constexpr double kSoilCementReactionModulus = 7000.0;  // soil-cement bedding
inline constexpr double kSmallBoreReactionModulus = 3000.0;   // bores up to kSmallBoreLargestSize
// The e' of kSmallBoreReactionModulus holds for bores up to this nominal size (mm) only.
inline constexpr double kSmallBoreLargestSize = 300.0;

// The largest e' any method names (soil-cement bedding). Every slip that enlarges e' turns a
// failing flexible pipe into a passing one, so a larger e' is adopted only once confirmed.
inline constexpr double kLargestNamedReactionModulus = kSoilCementReactionModulus;

// αw = (Pr − kLowestCompactionDegree) / kGroundwaterFactorDivisor: below this compaction degree
// (%) αw, and with it e', would be negative.
inline constexpr double kLowestCompactionDegree = 45.0;
inline constexpr double kGroundwaterFactorDivisor = 50.0;
// Pr is a degree of compaction in %: above 100 it is a slip of the keyboard, not a measurement.
inline constexpr double kHighestCompactionDegree = 100.0;

// No derivation of the correction factors αa, αb and αw reaches this value (αw is 1.10 at Pr 100):
// a factor above it is a missed decimal point (9.0 for 0.90) until the engineer confirms it.
inline constexpr double kLargestOrdinaryCorrectionFactor = 1.50;

}  // namespace tovakin::app
