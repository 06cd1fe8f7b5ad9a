#pragma once
// Colours of the engine's own windows.

#include <QPalette>

class QWidget;

// Gives the widget the palette only where it changes a colour of the palette it has. A palette of
// a widget's own comes with a new key for the drawings the style caches (Qt's pixmap cache), so a
// window made with one adds drawings that nothing asks for again: the cache holds them up to its
// limit, and their keys for good. Windows made for every print must not add them needlessly.
void RLSetWindowColours(QWidget *widget, const QPalette &palette);
