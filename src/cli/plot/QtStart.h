#pragma once

#include <QApplication>
#include <memory>

namespace travik::cli {

// The Qt application the charts need, on the offscreen platform when there is no display
// and no platform was asked for, so that figures can be made in scripts and on servers.
std::unique_ptr<QApplication> StartQt();

}  // namespace travik::cli
