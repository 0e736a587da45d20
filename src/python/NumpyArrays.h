#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace travik::python {

namespace py = pybind11;

// A numpy array of float64 in C order: taken as it is when it already is one (no copy),
// converted once otherwise.
using InputArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The samples of a one-dimensional input array, read in place.
std::span<const double> SamplesOf(const InputArray& array, const char* name);

// A one-dimensional array that takes over the vector's buffer: nothing is copied, and
// the buffer is freed with the array.
py::array_t<double> TakeOver(std::vector<double>&& values);

// The same for a (rows, columns) block stored row by row.
py::array_t<double> TakeOver(std::vector<double>&& values, py::ssize_t rows, py::ssize_t columns);

// A read-only view of a vector that `owner` keeps alive (the array holds a reference to it).
py::array_t<double> ViewOf(const std::vector<double>& values, py::handle owner);

// Raises ValueError with the core's message.
[[noreturn]] void Refuse(const std::string& message);

}  // namespace travik::python
