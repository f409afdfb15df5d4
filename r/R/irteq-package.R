#' irteq: IRT true score and observed score equating
#'
#' Equates a new test form X to an old form Y under item response theory, by
#' IRT true score equating and IRT observed score equating, for mixed-format
#' tests: three-parameter logistic (`"L3"`), graded response (`"SN"`,
#' `"SL"`), nominal response (`"BN"`) and generalized partial credit (`"MU"`)
#' items. The package binds the C++ library of the `irteq` console program:
#' the same readers, checks and messages, and the very doubles of its report.
#'
#' * From files: [equate_files()] on a control file, or [read_items()],
#'   [read_grid()], [read_scale_table()] and [read_control()] one by one.
#' * In memory: [items()] and [normal_grid()], then [equate()].
#' * From calibration output: [convert_items()] on a table of printed
#'   parameters, [from_mirt()] on a mirt model ([from_calibration] walks
#'   through it); [probabilities()], [expected_scores()] and [tcc()] evaluate
#'   items by the arithmetic of [equate()].
#' * Forms calibrated separately: [link()] puts form X's scale onto form
#'   Y's through common items, then [equate()]; or a control file that names
#'   a common-item file ([read_common_items()]), which [equate_files()] follows.
#' * Standard errors of the equivalents and linking constants, by the delta
#'   method and by parametric draws, from the covariance of the item parameter
#'   estimates: `se` and `draws` of [equate()] and [equate_files()],
#'   [read_covariance()], [plot()][plot.irteq_equating()] with `which = "se"`.
#' * The tables of a technical report (conversion with performance levels,
#'   summed-score EAP, conditional standard errors of measurement,
#'   reliability, classification accuracy and consistency): `tables` and
#'   `cuts` of [equate()], [eap_table()], [plot()][plot.irteq_equating()]
#'   with `which = "conversion"` and `"csem"`.
#' * Back to files: [write_items()], [write_grid()], [write_scale_table()],
#'   [write_common_items()], [write_control()].
#' * Results: `print()`, [summary()][summary.irteq_equating()],
#'   [plot()][plot.irteq_equating()], [as.data.frame()][as.data.frame.irteq_equating()]; of a linking
#'   `print()`, [summary()][summary.irteq_linking()], [plot()][plot.irteq_linking()].
#'
#' Errors are conditions of class `irteq_error` and of a class per kind of
#' failure, warnings of class `irteq_warning` (see [irteq_error]). Group 1
#' is always the group that took form X, group 2
#' the group that took form Y.
#'
#' @useDynLib irteq, .registration = TRUE
#' @importFrom Rcpp evalCpp
"_PACKAGE"
