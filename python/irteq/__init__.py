"""irteq: IRT true score and observed score equating of a new form X to an old form Y.

The library's own computation, checks and messages, through its public C++ API: every result is the
console program's doubles to the last bit.
"""

from ._core import version as __version__
from ._equate import equate, equate_files, link, run
from ._errors import (ControlFileError, Error, FileError, InputSyntaxError, InputWarning, InputWarningError,
                      Interrupted, InvalidInput, IrteqWarning, LimitExceeded, LinkingFailed, NotFinite, RedrawWarning,
                      RootFinderWarning, UnknownItemType)
from ._inputs import (items, normal_grid, read_common_items, read_control, read_covariance, read_grid, read_items,
                      read_scale_table, write_common_items, write_control, write_covariance, write_grid, write_items,
                      write_scale_table)
from ._models import (LabelledArray, convert_items, eap_table, expected_scores, parameter_names, probabilities,
                      read_calibration, tcc)
from ._results import Equating, Linking

__all__ = [
    "equate", "equate_files", "run", "link", "Equating", "Linking",
    "items", "normal_grid", "read_items", "write_items", "read_grid", "write_grid", "read_scale_table",
    "write_scale_table", "read_covariance", "write_covariance", "read_control", "write_control",
    "read_common_items", "write_common_items", "read_calibration", "convert_items", "parameter_names",
    "probabilities", "expected_scores", "tcc", "eap_table", "LabelledArray",
    "Error", "FileError", "InputSyntaxError", "LimitExceeded", "InvalidInput", "UnknownItemType",
    "ControlFileError", "NotFinite", "InputWarningError", "LinkingFailed", "Interrupted",
    "IrteqWarning", "InputWarning", "RootFinderWarning", "RedrawWarning",
]
