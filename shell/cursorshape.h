#pragma once
// The system cursors the views ask for, by their Windows names, as Qt
// cursor shapes.
#include <Qt>

enum class SystemCursor { Arrow, Cross, SizeNWSE, SizeNESW, SizeNS, SizeWE, SizeAll, Wait, IBeam, No };

constexpr Qt::CursorShape CursorShape(SystemCursor cursor)
{
    switch (cursor) {
    case SystemCursor::Arrow: return Qt::ArrowCursor;
    case SystemCursor::Cross: return Qt::CrossCursor;
    case SystemCursor::SizeNWSE: return Qt::SizeFDiagCursor;
    case SystemCursor::SizeNESW: return Qt::SizeBDiagCursor;
    case SystemCursor::SizeNS: return Qt::SizeVerCursor;
    case SystemCursor::SizeWE: return Qt::SizeHorCursor;
    case SystemCursor::SizeAll: return Qt::SizeAllCursor;
    case SystemCursor::Wait: return Qt::WaitCursor;
    case SystemCursor::IBeam: return Qt::IBeamCursor;
    case SystemCursor::No: return Qt::ForbiddenCursor;
    }
    return Qt::ArrowCursor;
}
