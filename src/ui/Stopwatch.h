#pragma once

class QPainter;
class QRectF;

// The program's stopwatch, the one drawing behind its window icon, the progress animation's
// frames and the desktop icon: a dial with its crown, the blue minute hand at rest and the red
// second hand at turn of a full round (0 at twelve), fitted into square.
void paintStopwatch(QPainter& painter, const QRectF& square, double turn);
