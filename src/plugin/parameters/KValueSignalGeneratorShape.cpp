#include "plugin/parameters/KValueSignalGeneratorShape.h"

#include "signal/generator/KSignalGenerator.h"

KString KValueSignalGeneratorShape::TextFromPosition(double position) const {
    return KSignalGenerator::ShapeText(position * 15);
}

KString KValueSignalGeneratorShape::TextOf(double shapePosition) const {
    return KSignalGenerator::ShapeText(shapePosition);
}
