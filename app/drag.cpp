// Picking stickers and turning drags into turns; see drag.h.
#include "app/drag.h"

#include <cmath>
#include <cstddef>

#include "platform/projection.h"
#include "render/matrix.h"
#include "render/sticker_mesh.h"
#include "render/view.h"

namespace cw {
namespace {

using Vec3 = std::array<float, 3>;

/// A drag turns a face once it has gone this share of the client area's smaller side.
constexpr float kTurnDistanceShare = 1.0f / 32.0f;
/// Degrees of view turn for a drag across the whole width, and up or down the height.
constexpr float kViewDegreesAcross = 360.0f;
constexpr float kViewDegreesUp = 270.0f;
/// Half the cube's side: every sticker lies on a face plane this far from the centre.
constexpr float kHalfSide = 2.0f;

float dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 difference(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

/// The main cube's modelview matrix, as the scene sets it before the stickers are drawn.
Matrix4 mainCubePlacement(const Cube& cube) {
    return placeCube(translation(0.0f, 0.0f, kMainCubeDepth), cube);
}

Matrix4 projection(ClientSize size) {
    const int height = size.height > 0 ? size.height : 1;
    return perspective(kFieldOfView, static_cast<double>(size.width) / height, kNearPlane,
                       kFarPlane);
}

struct ScreenPoint {
    float x;
    float y;
};

/// Where a point of the cube's frame lands in the window, in pixels from the top left.
ScreenPoint project(const Matrix4& toClip, const Vec3& point, ClientSize size) {
    const Vec3 clip = movePoint(toClip, point);
    // The w row of a perspective projection is minus the eye-space depth.
    const float w =
        toClip[3] * point[0] + toClip[7] * point[1] + toClip[11] * point[2] + toClip[15];
    return {(clip[0] / w + 1.0f) * 0.5f * static_cast<float>(size.width),
            (1.0f - clip[1] / w) * 0.5f * static_cast<float>(size.height)};
}

/// The direction of the cube's frame that `placement` (rotation and translation only) turns
/// into `direction`: the rotation's transpose undoes it.
Vec3 directionIntoCube(const Matrix4& placement, const Vec3& direction) {
    return {placement[0] * direction[0] + placement[1] * direction[1] + placement[2] * direction[2],
            placement[4] * direction[0] + placement[5] * direction[1] + placement[6] * direction[2],
            placement[8] * direction[0] + placement[9] * direction[1] +
                placement[10] * direction[2]};
}

/// The point of the cube's frame that `placement` puts at `eye`.
Vec3 intoCube(const Matrix4& placement, const Vec3& eye) {
    return directionIntoCube(
        placement, {eye[0] - placement[12], eye[1] - placement[13], eye[2] - placement[14]});
}

/// The face whose outward normal is `normal` (a unit axis), or -1.
int faceFacing(const Vec3& normal) {
    for (int face = 0; face < kFaceCount; ++face) {
        if (dot(faceNormal(face), normal) > 0.5f) {
            return face;
        }
    }
    return -1;
}

} // namespace

std::optional<StickerHit> pickSticker(const Cube& cube, float x, float y, ClientSize size) {
    if (size.width <= 0 || size.height <= 0) {
        return std::nullopt;
    }
    // The ray from the eye through the pixel's centre, in eye space, then in the cube's frame.
    const Matrix4 lens = projection(size);
    const float ndcX = 2.0f * (x + 0.5f) / static_cast<float>(size.width) - 1.0f;
    const float ndcY = 1.0f - 2.0f * (y + 0.5f) / static_cast<float>(size.height);
    const Matrix4 placement = mainCubePlacement(cube);
    const Vec3 origin = intoCube(placement, {0.0f, 0.0f, 0.0f});
    const Vec3 direction = directionIntoCube(placement, {ndcX / lens[0], ndcY / lens[5], -1.0f});

    // The nearest face plane the ray meets from outside, within the cube's square there.
    // The cube is convex, so that is the face the eye sees at this point.
    int hitFace = -1;
    float nearest = 0.0f;
    Vec3 hitPoint{};
    for (int face = 0; face < kFaceCount; ++face) {
        const Vec3& normal = faceNormal(face);
        const float towards = dot(direction, normal);
        if (towards >= 0.0f) {
            continue;
        }
        const float distance = (kHalfSide - dot(origin, normal)) / towards;
        if (distance <= 0.0f || (hitFace >= 0 && distance >= nearest)) {
            continue;
        }
        const Vec3 point = {origin[0] + distance * direction[0],
                            origin[1] + distance * direction[1],
                            origin[2] + distance * direction[2]};
        const Vec3 inPlane = difference(
            point, {normal[0] * kHalfSide, normal[1] * kHalfSide, normal[2] * kHalfSide});
        if (std::fabs(inPlane[0]) <= kHalfSide && std::fabs(inPlane[1]) <= kHalfSide &&
            std::fabs(inPlane[2]) <= kHalfSide) {
            hitFace = face;
            nearest = distance;
            hitPoint = point;
        }
    }
    if (hitFace < 0) {
        return std::nullopt;
    }

    // The sticker whose centre is nearest: the stickers tile the face.
    StickerHit best{hitFace, 0, 0};
    float bestDistance = -1.0f;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const Vec3 offset = difference(hitPoint, stickerCentre(hitFace, row, column));
            const float squared = dot(offset, offset);
            if (bestDistance < 0.0f || squared < bestDistance) {
                best = {hitFace, row, column};
                bestDistance = squared;
            }
        }
    }
    return best;
}

DragTurn dragTurn(const Cube& cube, const StickerHit& hit, float dx, float dy, ClientSize size) {
    const Matrix4 toClip = multiply(projection(size), mainCubePlacement(cube));
    const Vec3 centre = stickerCentre(hit.face, hit.row, hit.column);
    const ScreenPoint from = project(toClip, centre, size);
    const float dragLength = std::sqrt(dx * dx + dy * dy);
    if (dragLength == 0.0f) {
        return {};
    }

    // The face's four grid directions, one sticker long, as they look on the screen; the
    // drag goes the way of the one closest to it in angle.
    const Vec3 across = difference(stickerCentre(hit.face, 1, 2), stickerCentre(hit.face, 1, 1));
    const Vec3 down = difference(stickerCentre(hit.face, 2, 1), stickerCentre(hit.face, 1, 1));
    const Vec3 candidates[] = {
        across, down, {-across[0], -across[1], -across[2]}, {-down[0], -down[1], -down[2]}};
    Vec3 pushed{};
    float bestCosine = -2.0f;
    for (const Vec3& step : candidates) {
        const ScreenPoint to =
            project(toClip, {centre[0] + step[0], centre[1] + step[1], centre[2] + step[2]}, size);
        const float sx = to.x - from.x;
        const float sy = to.y - from.y;
        const float length = std::sqrt(sx * sx + sy * sy);
        if (length == 0.0f) {
            continue;
        }
        const float cosine = (sx * dx + sy * dy) / (length * dragLength);
        if (cosine > bestCosine) {
            bestCosine = cosine;
            pushed = step;
        }
    }

    // Pushing the sticker along `pushed` turns the layer about normal x pushed. Which layer
    // that is, and so which face, is where the sticker lies along that axis.
    const Vec3& normal = faceNormal(hit.face);
    const Vec3 axis = cross(normal, pushed);
    const float lengthOfAxis = std::sqrt(dot(axis, axis));
    const float along = dot(centre, axis) / lengthOfAxis;
    if (std::fabs(along) < 0.5f) {
        return {}; // the middle slice
    }
    const Vec3 unit = {axis[0] / lengthOfAxis, axis[1] / lengthOfAxis, axis[2] / lengthOfAxis};
    const Vec3 outward = along > 0.0f ? unit : Vec3{-unit[0], -unit[1], -unit[2]};
    // The layer turns positively about `axis`: counter-clockwise seen from the face on the
    // axis's own side, clockwise seen from the face on the other side.
    return {true, faceFacing(outward), along < 0.0f};
}

PointerAction DragControl::handle(const PointerEvent& event, const Cube& cube, ClientSize size) {
    switch (event.kind) {
    case PointerEvent::Kind::Press: {
        // A press while a drag is on means its release was lost (it came while the program
        // was waiting in a box, say): the new press starts afresh.
        startX_ = lastX_ = event.x;
        startY_ = lastY_ = event.y;
        const std::optional<StickerHit> hit =
            pickSticker(cube, static_cast<float>(event.x), static_cast<float>(event.y), size);
        mode_ = hit ? Mode::OnSticker : Mode::View;
        if (hit) {
            hit_ = *hit;
        }
        return {};
    }
    case PointerEvent::Kind::Move:
        return moveTo(event.x, event.y, cube, size);
    case PointerEvent::Kind::Release: {
        // The release's own position counts: a quick drag may bring no move before it.
        const PointerAction action = moveTo(event.x, event.y, cube, size);
        mode_ = Mode::None;
        return action;
    }
    case PointerEvent::Kind::Cancel:
        mode_ = Mode::None;
        return {};
    }
    return {};
}

PointerAction DragControl::moveTo(int x, int y, const Cube& cube, ClientSize size) {
    switch (mode_) {
    case Mode::None:
    case Mode::Done:
        return {};
    case Mode::View:
        return turnView(x, y, size);
    case Mode::OnSticker:
        break;
    }
    const auto dx = static_cast<float>(x - startX_);
    const auto dy = static_cast<float>(y - startY_);
    const float shorter = static_cast<float>(size.width < size.height ? size.width : size.height);
    if (std::sqrt(dx * dx + dy * dy) < shorter * kTurnDistanceShare) {
        return {};
    }
    const DragTurn turn = dragTurn(cube, hit_, dx, dy, size);
    if (!turn.turnsFace) {
        // Along a middle row or column: the drag turns the view from where it started.
        mode_ = Mode::View;
        return turnView(x, y, size);
    }
    mode_ = Mode::Done;
    PointerAction action;
    action.kind = PointerAction::Kind::TurnFace;
    action.face = turn.face;
    action.clockwise = turn.clockwise;
    return action;
}

PointerAction DragControl::turnView(int x, int y, ClientSize size) {
    PointerAction action;
    if (size.width <= 0 || size.height <= 0 || (x == lastX_ && y == lastY_)) {
        lastX_ = x;
        lastY_ = y;
        return action;
    }
    action.kind = PointerAction::Kind::TurnView;
    // Rightwards turns the view as the right arrow does, upwards as the up arrow does.
    action.viewY =
        static_cast<float>(x - lastX_) * kViewDegreesAcross / static_cast<float>(size.width);
    action.viewZ =
        static_cast<float>(lastY_ - y) * kViewDegreesUp / static_cast<float>(size.height);
    lastX_ = x;
    lastY_ = y;
    return action;
}

} // namespace cw
