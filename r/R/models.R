#' The models as functions: probabilities, expected scores, test characteristic curves
#'
#' The arithmetic [equate()] uses, through the same library routines: an
#' item's category probabilities, its expected score, and a form's test
#' characteristic curve (its expected raw score), at each ability in `theta`.
#' `"MU"` items are evaluated as the `"BN"` items irteq converts them to, as in
#' an equating, so `tcc()` at the abilities true score equating found gives
#' its equivalents to the last bit. Use them to check a conversion (see
#' [from_calibration]) or to draw curves.
#'
#' @param items An item set, as [items()], [read_items()], [convert_items()]
#'   or [from_mirt()] return; checked as [equate()] checks a form's items.
#' @param theta Abilities (finite numbers).
#' @return
#' * `probabilities()`: a matrix with one row per ability and one column per
#'   item and category, named `item:category` (`"3:2"` is category 2, counted
#'   from 1, of item number 3), items in order and their categories in order.
#' * `expected_scores()`: a matrix with one row per ability and one column per
#'   item, named by item number: the sum of category score times probability.
#' * `tcc()`: the test characteristic curve, one number per ability.
#' @examples
#' form <- items(c("L3", "MU"), list(0:1, 0:3),
#'               list(c(1.7, 1.1, -0.5, 0.2), c(1, 0.9, 0, 0, 1, -0.2, -1.1)))
#' probabilities(form, c(-1, 0, 1))
#' expected_scores(form, c(-1, 0, 1))
#' tcc(form, seq(-3, 3, by = 1))
#'
#' # The true score equivalents are form Y's curve at the abilities found for form X's scores.
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' eq <- equate_files(file.path(folder, "control.txt"))
#' found <- !is.na(eq$true_score$theta)
#' identical(tcc(read_items(file.path(folder, "formy.par")), eq$true_score$theta[found]),
#'           eq$true_score$equivalent[found])
#' @name probabilities
#' @export
probabilities <- function(items, theta) {
  call <- sys.call()
  x <- as_items(items, "items", call)
  core_value(.probabilities(x, as_doubles(theta, "theta", call, finite = TRUE)), call)
}

#' @rdname probabilities
#' @export
expected_scores <- function(items, theta) {
  call <- sys.call()
  x <- as_items(items, "items", call)
  core_value(.expected_scores(x, as_doubles(theta, "theta", call, finite = TRUE)), call)
}

#' @rdname probabilities
#' @export
tcc <- function(items, theta) {
  call <- sys.call()
  x <- as_items(items, "items", call)
  core_value(.tcc(x, as_doubles(theta, "theta", call, finite = TRUE)), call)
}
