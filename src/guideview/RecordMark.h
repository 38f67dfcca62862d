#pragma once
// The red dot that marks a programme to be recorded, as the guide grid and the search's
// results draw it.

class QPainter;
class QRect;

// Draws the dot at the left of a line of text, centred on it; the width it takes.
int PaintRecordMark(QPainter& painter, const QRect& line);
