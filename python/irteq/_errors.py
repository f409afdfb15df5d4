"""irteq's exceptions and warnings: one class per kind, so that a handler can
catch one kind of failure and let the others through."""

__all__ = [
    "Error", "FileError", "InputSyntaxError", "LimitExceeded", "InvalidInput", "UnknownItemType",
    "ControlFileError", "NotFinite", "InputWarningError", "LinkingFailed", "Interrupted",
    "IrteqWarning", "InputWarning", "RootFinderWarning", "RedrawWarning",
]


class Error(Exception):
    """A failure of irteq's library: input it cannot use, a linking that failed, ...

    The message is the library's, naming the input and the place. The
    diagnostic is in the attributes:

    Attributes
    ----------
    code : str
        The library's error code: ``"file_error"``, ``"syntax_error"``,
        ``"limit_exceeded"``, ``"invalid_input"``, ``"unknown_item_type"``,
        ``"control_file"``, ``"not_finite"``, ``"input_warning"``,
        ``"linking_failed"`` or ``"interrupted"``.
    input : str
        Which input: ``"items_x"``, ``"items_y"``, ``"grid_group1"``,
        ``"grid_group2"``, ``"scale_table"``, ``"control_file"``,
        ``"common_items"``, ``"cut_scores"``, ...; ``""`` when not known.
    file : str
        The file, or the argument the input came from (``"x_items"``).
    line, item, row, score_point : int
        Counted from 1; 0 where not applicable. ``row`` is a quadrature
        point, a scale table row, a pair of common items or a cut score.
    """

    code = "invalid_input"

    def __init__(self, message, input="", file="", line=0, item=0, row=0, score_point=0):
        super().__init__(message)
        self.message = message
        self.input = input
        self.file = file
        self.line = line
        self.item = item
        self.row = row
        self.score_point = score_point


class FileError(Error):
    """A file that cannot be opened, read or written."""
    code = "file_error"


class InputSyntaxError(Error):
    """Text that is not the value expected there, or a file that ends too soon."""
    code = "syntax_error"


class LimitExceeded(Error):
    """More items, categories, quadrature points or score points than a run allows."""
    code = "limit_exceeded"


class InvalidInput(Error, ValueError):
    """A value the models cannot use: categories, parameters, weights, w2, scale table; also a ValueError."""
    code = "invalid_input"


class UnknownItemType(Error):
    """An item type code other than L3, SN, SL, BN and MU."""
    code = "unknown_item_type"


class ControlFileError(Error):
    """A control file that does not name the six files properly."""
    code = "control_file"


class NotFinite(Error):
    """Results that are not finite numbers."""
    code = "not_finite"


class InputWarningError(Error):
    """A warning of the readers, made an error by ``strict=True``."""
    code = "input_warning"


class LinkingFailed(Error):
    """The applied linking method found no constants: no convergence, or A <= 0."""
    code = "linking_failed"


class Interrupted(Error, KeyboardInterrupt):
    """Parametric draws stopped by the user (Ctrl-C); a KeyboardInterrupt too."""
    code = "interrupted"


_classes = {c.code: c for c in (FileError, InputSyntaxError, LimitExceeded, InvalidInput, UnknownItemType,
                                 ControlFileError, NotFinite, InputWarningError, LinkingFailed, Interrupted)}


def _from_core(code, message, input, file, line, item, row, score_point):
    """The exception of a library error (called by the compiled glue)."""
    return _classes.get(code, Error)(message, input, file, line, item, row, score_point)


class IrteqWarning(UserWarning):
    """Every warning irteq gives; ``warnings.simplefilter("error", irteq.IrteqWarning)`` makes them errors."""


class InputWarning(IrteqWarning):
    """A reader's warning of a suspicious line (the run goes on), or a scale table's raw column off form Y's
    score points."""


class RootFinderWarning(IrteqWarning):
    """A root search of true score equating that failed; equating went on with the theta it returned."""


class RedrawWarning(IrteqWarning):
    """More than 10 % of the parametric draws' attempts were drawn again."""
