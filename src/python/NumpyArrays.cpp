#include "NumpyArrays.h"

#include <memory>

namespace travik::python {

std::span<const double> SamplesOf(const InputArray& array, const char* name) {
    if (array.ndim() != 1) {
        Refuse(std::string(name) + " must be a one-dimensional array");
    }
    return {array.data(), static_cast<std::size_t>(array.shape(0))};
}

py::array_t<double> TakeOver(std::vector<double>&& values) {
    const auto size = static_cast<py::ssize_t>(values.size());
    return TakeOver(std::move(values), 1, size).reshape({size});
}

py::array_t<double> TakeOver(std::vector<double>&& values, py::ssize_t rows, py::ssize_t columns) {
    auto owned = std::make_unique<std::vector<double>>(std::move(values));
    double* data = owned->data();
    py::capsule free(owned.get(),
                     [](void* vector) { delete static_cast<std::vector<double>*>(vector); });
    owned.release();
    return py::array_t<double>({rows, columns},
                               {static_cast<py::ssize_t>(sizeof(double)) * columns,
                                static_cast<py::ssize_t>(sizeof(double))},
                               data, free);
}

py::array_t<double> ViewOf(const std::vector<double>& values, py::handle owner) {
    py::array_t<double> view({static_cast<py::ssize_t>(values.size())}, {sizeof(double)},
                             values.data(), owner);
    py::detail::array_proxy(view.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
    return view;
}

void Refuse(const std::string& message) {
    throw py::value_error(message);
}

}  // namespace travik::python
