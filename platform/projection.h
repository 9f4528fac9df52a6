// The perspective every window sets on its context: a 45-degree vertical field of view over
// the client area's aspect, near and far planes. The GL set-up uses it, and so does the
// core when it works out what lies under the pointer. Standard library only.
#pragma once

namespace cw {

inline constexpr double kFieldOfView = 45.0;
// The near plane is the single-precision 0.1 widened to double, as the projection has
// always been built.
inline constexpr double kNearPlane = static_cast<double>(0.1f);
inline constexpr double kFarPlane = 500.0;

} // namespace cw
