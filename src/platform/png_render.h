#pragma once
// Drawings written as PNG images: the canvas of the windows on an image of its own,
// encoded in memory so that the file is written in one piece.
#include <functional>
#include <string>

#include "numerics/canvas.h"
#include "numerics/library_namespaces.h"

class QImage;

// Draws on a white width x height image and returns the PNG bytes. Needs a
// QGuiApplication (text is drawn with the windows' font). Throws FileError when the
// image cannot be encoded.
std::string RenderPng(int width, int height, const std::function<void(Canvas&)>& draw);

// The PNG bytes of an image. Throws FileError when it cannot be encoded.
std::string EncodePng(const QImage& image);
