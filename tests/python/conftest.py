import os
import pathlib

import pytest


def _from_environment(name: str) -> str:
    value = os.environ.get(name)
    if not value:
        pytest.exit(f"{name} is not set: run these tests through ctest", returncode=3)
    return value


@pytest.fixture(scope="session")
def cli() -> str:
    return _from_environment("TRAVIK_CLI")


@pytest.fixture(scope="session")
def digits_helper() -> str:
    return _from_environment("TRAVIK_SPECTRA_DIGITS")


@pytest.fixture(scope="session")
def data() -> pathlib.Path:
    return pathlib.Path(_from_environment("TRAVIK_DATA"))
