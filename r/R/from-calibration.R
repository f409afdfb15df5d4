#' From your calibration to an equating
#'
#' The way from the item parameters a calibration program prints to an
#' equated conversion table, with each conversion checked on the way.
#'
#' @section Enter the parameters as printed:
#' One data frame per form, one row per item, with the columns of the
#' parameterisation the program prints (see [convert_items()] for the names;
#' `NA` where an item has fewer categories). Do not convert anything by hand:
#' slope/intercept values, D, the signs of deviations and the first category's
#' zero are the converter's business. For a model fitted by mirt, skip to
#' [from_mirt()].
#'
#' @section Convert:
#' `convert_items(table, from = ..., D = ...)` gives irteq's items, checked
#' as [equate()] checks a form. `from` names the parameterisation, for all
#' rows or row by row; D is 1 on the logistic metric and 1.7 for slopes on
#' the normal metric.
#'
#' @section Check the conversion:
#' [probabilities()] gives the converted items' category probabilities, by the
#' arithmetic [equate()] uses. Compare them, at a few abilities, with the
#' program's own formula or with the probabilities the program prints: they
#' agree to rounding when the parameterisation and D were named right, and
#' differ visibly when not. [tcc()] draws a form's test characteristic curve.
#'
#' @section Equate:
#' Both forms' parameters must be on one ability scale (put them there
#' first, by concurrent calibration or scale linking). Then [equate()] with
#' each group's ability distribution ([normal_grid()] or the program's
#' quadrature) and form Y's raw-to-scale table gives the conversion table:
#' `as.data.frame()` of the result lists, per form X raw score, both
#' methods' equivalents on form Y's raw and scale scores.
#'
#' @examples
#' # 1. Parameters as a program printed them: slope/intercept, logistic metric.
#' x_table <- data.frame(a = c(1.2, 0.9, 1.4, 1.0), d = c(0.8, 0.1, -0.6, NA),
#'                       g = c(0.2, 0.15, 0.25, NA),
#'                       d1 = c(NA, NA, NA, 1.2), d2 = c(NA, NA, NA, -0.3))
#' y_table <- data.frame(a = c(1.1, 1.0, 1.3, 0.8), d = c(0.6, -0.2, -0.9, NA),
#'                       g = c(0.2, 0.2, 0.2, NA),
#'                       d1 = c(NA, NA, NA, 1.0), d2 = c(NA, NA, NA, -0.6))
#' forms <- c(rep("logistic_intercept", 3), "graded_intercept")
#'
#' # 2. Convert.
#' x_items <- convert_items(x_table, from = forms)
#' y_items <- convert_items(y_table, from = forms)
#' x_items
#'
#' # 3. Check: item 1 against the program's formula at three abilities.
#' theta <- c(-1, 0, 1)
#' own <- 0.2 + 0.8 / (1 + exp(-(1.2 * theta + 0.8)))
#' cbind(irteq = probabilities(x_items, theta)[, "1:2"], own)
#' tcc(x_items, theta)
#'
#' # 4. Equate, with form Y's raw scores 0 to 5 reported as scale scores 100 to 150.
#' scale <- list(table = data.frame(raw = 0:5, scale = seq(100, 150, by = 10),
#'                                  rounded = seq(100, 150, by = 10)),
#'               scale_min = 100, scale_max = 150, w2 = 0.5)
#' eq <- equate(x_items, y_items, normal_grid(0.1), normal_grid(0), scale)
#' as.data.frame(eq)
#' @name from_calibration
#' @aliases from-calibration
NULL
