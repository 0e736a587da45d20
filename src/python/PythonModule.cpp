#include <pybind11/pybind11.h>

#include "Bindings.h"

PYBIND11_MODULE(_travik, module) {
    module.doc() =
        "Strong-motion records, response spectra and ground-motion measures computed by "
        "TRAVIK's core. Units: time and periods in s, acceleration in g, velocity in cm/sec, "
        "displacement in cm, g in cm/sec^2.";
    travik::python::BindRecords(module);
    travik::python::BindSpectra(module);
    travik::python::BindMeasures(module);
    travik::python::BindProcessing(module);
    travik::python::BindRotation(module);
    travik::python::BindPairing(module);
}
