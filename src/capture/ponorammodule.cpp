#include "ponorammodule.h"

PonoramModule::PonoramModule(QObject *parent) : GraphModule(QStringLiteral("Ponoram"), parent) {}

void PonoramModule::beginPaintItem(MPainterArea *, QPoint) {}

void PonoramModule::paintItem(MPainterArea *, QPoint) {}

void PonoramModule::endPaintItem(MPainterArea *, QPoint) {}
