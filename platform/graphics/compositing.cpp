// The compositing operations by their stored numbers, and how Qt composes each.
#include "platform/graphics/compositing.h"

CompositingOperation compositingOperationFromNumber(int number)
{
    return number >= 0 && number <= 13 ? CompositingOperation(number) : CompositingOperation::SourceOver;
}

QPainter::CompositionMode toQtCompositionMode(CompositingOperation op)
{
    switch (op) {
    case CompositingOperation::Clear: return QPainter::CompositionMode_Clear;
    case CompositingOperation::Copy: return QPainter::CompositionMode_Source;
    case CompositingOperation::SourceOver: return QPainter::CompositionMode_SourceOver;
    case CompositingOperation::SourceIn: return QPainter::CompositionMode_SourceIn;
    case CompositingOperation::SourceOut: return QPainter::CompositionMode_SourceOut;
    case CompositingOperation::SourceAtop: return QPainter::CompositionMode_SourceAtop;
    case CompositingOperation::DestinationOver: return QPainter::CompositionMode_DestinationOver;
    case CompositingOperation::DestinationIn: return QPainter::CompositionMode_DestinationIn;
    case CompositingOperation::DestinationOut: return QPainter::CompositionMode_DestinationOut;
    case CompositingOperation::DestinationAtop: return QPainter::CompositionMode_DestinationAtop;
    case CompositingOperation::XOR: return QPainter::CompositionMode_Xor;
    case CompositingOperation::PlusDarker: return QPainter::CompositionMode_Multiply;
    case CompositingOperation::Highlight: return QPainter::CompositionMode_SourceOver;
    case CompositingOperation::PlusLighter: return QPainter::CompositionMode_Plus;
    }
    return QPainter::CompositionMode_SourceOver;
}
