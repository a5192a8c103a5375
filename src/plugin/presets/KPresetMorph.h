#pragma once
#include <array>
#include <functional>
#include <vector>

// ABCD morphing over the host parameters: every parameter has a normalised
// value in each of the slots A, B, C and D, at the corners of a square pad
// (A top left, B top right, C bottom left, D bottom right). Moving the point
// blends the four bilinearly and sets each parameter that moved by more
// than 1e-5.
class KPresetMorph {
public:
    using Corners = std::array<double, 4>;  // A, B, C, D
    using SetParameter = std::function<void(int index, double value)>;
    using GetParameter = std::function<double(int index)>;

    KPresetMorph(std::vector<Corners> table, GetParameter get, SetParameter set);

    // x grows to the right, y downwards; both are held inside 0..1.
    void MoveTo(double x, double y);
    double X() const noexcept { return m_x; }
    double Y() const noexcept { return m_y; }
    const std::vector<Corners>& Table() const noexcept { return m_table; }

    // The blend of one parameter's corners at (x, y).
    static double Blend(const Corners& corners, double x, double y) noexcept;

    // Accepting while the slot in use is one of A to D would overwrite a
    // corner of the next morph; the user is offered slot E instead.
    static bool AcceptReplacesCorner(int slotInUse) noexcept { return slotInUse >= 0 && slotInUse < 4; }
    static constexpr int kSlotE = 4;
    // A parameter is set only when the blend moves it by more than this.
    static constexpr double kSmallestMove = 1e-5;

private:
    std::vector<Corners> m_table;
    GetParameter m_get;
    SetParameter m_set;
    double m_x = 0;
    double m_y = 0;
};
