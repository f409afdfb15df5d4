#' Items from a mirt model
#'
#' Converts the items of a unidimensional model fitted by the mirt package,
#' or the coefficient matrix it prints, into irteq's items, ready for
#' [equate()]: each item reproduces mirt's own probabilities (to rounding).
#' mirt is not needed for a matrix; for a fitted model it is used through
#' `mirt::coef()` and `mirt::extract.mirt()`.
#'
#' mirt's slope/intercept layouts, one row per item and `NA` where an item
#' has no such column, as `coef(model, simplify = TRUE)$items` gives them:
#'
#' | Item type | Columns | irteq |
#' |---|---|---|
#' | `"2PL"`, `"3PL"`, `"Rasch"` (two categories) | a1, d, g, u: P = g + (u - g) / (1 + exp(-(a1 theta + d))) | `"L3"` |
#' | `"graded"` | a1, d1, ..., d(K-1): P(k or higher) = 1 / (1 + exp(-(a1 theta + dk))) | `"SL"` |
#' | `"gpcm"`, `"Rasch"` (more categories) | a1, ak0, ..., ak(K-1), d0, ..., d(K-1) | `"MU"` |
#' | `"nominal"` | a1, ak0, ..., ak(K-1), d0, ..., d(K-1): P(k) ~ exp(a1 akk theta + dk) | `"BN"` |
#'
#' D is 1 (mirt's logistic metric). An upper asymptote u below 1 is refused:
#' irteq has no four-parameter item. A `"gpcm"` or polytomous `"Rasch"` item
#' whose scoring values ak are 0, 1, ..., K-1 (to within a relative 1e-10, as
#' fitted models hold them) becomes an `"MU"` item; one whose scoring values
#' differ becomes the `"BN"` item of the same formula. Any other item type, and a model of more than one
#' dimension, is an error that names the item.
#'
#' @param x A fitted mirt model (of class `SingleGroupClass`), or the matrix
#'   `coef(model, simplify = TRUE)$items` (slope/intercept form, not
#'   `IRTpars = TRUE`).
#' @param itemtype The mirt item type of each row of a matrix (one for all, or
#'   one per row); taken from the model when `x` is one.
#' @param scores A list with one vector of category scores per item; by
#'   default 0, 1, ..., K-1.
#' @return An item set, as [items()] returns, numbered 1, 2, ... in row order.
#' @seealso [convert_items()] for other programs' parameterisations,
#'   [from_calibration] for the way to an equating.
#' @examples
#' # The matrix coef(model, simplify = TRUE)$items of a mixed form.
#' coefs <- rbind(
#'   c(a1 = 1.36, d = -0.68, g = 0.2, u = 1, d1 = NA, d2 = NA, d3 = NA,
#'     ak0 = NA, ak1 = NA, ak2 = NA, ak3 = NA, d0 = NA),
#'   c(1.25, NA, NA, NA, 1.5, 0.25, -1.0, NA, NA, NA, NA, NA),
#'   c(0.9, NA, NA, NA, 0.9, 0.72, -0.27, 0, 1, 2, 3, 0))
#' form <- from_mirt(coefs, itemtype = c("3PL", "graded", "gpcm"))
#' form
#' round(probabilities(form, c(-1, 1)), 6)
#' \dontrun{
#' fit <- mirt::mirt(responses, 1, itemtype = "graded")
#' from_mirt(fit)
#' }
#' @export
from_mirt <- function(x, itemtype = NULL, scores = NULL) {
  call <- sys.call()
  if (inherits(x, "SingleGroupClass")) {
    if (!requireNamespace("mirt", quietly = TRUE)) abort("x is a fitted mirt model, but mirt is not installed", call)
    if (is.null(itemtype)) itemtype <- mirt::extract.mirt(x, "itemtype")
    x <- mirt::coef(x, simplify = TRUE)$items
  }
  if (is.data.frame(x)) x <- as.matrix(x)
  if (!is.matrix(x) || !is.numeric(x)) {
    abort(sprintf("x must be a fitted mirt model or the numeric matrix coef(model, simplify = TRUE)$items, not %s",
                  type_name(x)), call)
  }
  n <- nrow(x)
  if (!"a1" %in% colnames(x)) {
    abort("x has no column a1: give mirt's slope/intercept coefficients, coef(model, simplify = TRUE)$items", call)
  }
  if (!is.character(itemtype) || anyNA(itemtype) || !length(itemtype) %in% c(1L, n)) {
    abort(sprintf("itemtype must be one mirt item type, or one per row of x (%d), not %s", n, describe(itemtype)),
          call)
  }
  itemtype <- rep_len(itemtype, n)
  at <- function(i, column) if (column %in% colnames(x)) x[i, column] else NA_real_
  numbered <- function(i, letters, from) {  # the row's values of d0, d1, ... (or ak0, ...) from `from` on
    k <- from
    values <- numeric()
    while (!is.na(v <- at(i, sprintf("%s%d", letters, k)))) {
      values <- c(values, v)
      k <- k + 1L
    }
    values
  }
  item <- function(i) {
    sprintf("x: item %d%s (%s)", i, if (is.null(rownames(x))) "" else sprintf(" '%s'", rownames(x)[i]), itemtype[i])
  }
  form <- character(n)
  values <- vector("list", n)
  for (i in seq_len(n)) {
    other_slopes <- grep("^a[2-9][0-9]*$", colnames(x), value = TRUE)
    if (any(!is.na(x[i, other_slopes]) & x[i, other_slopes] != 0)) {
      abort(sprintf("%s has slopes on more than one dimension; irteq's items have one", item(i)), call, item = i)
    }
    type <- itemtype[i]
    if (type %in% c("2PL", "3PL") || (type == "Rasch" && !is.na(at(i, "d")))) {
      u <- at(i, "u")
      if (!is.na(u) && u != 1) {
        abort(sprintf("%s has the upper asymptote u = %s; irteq has no four-parameter item", item(i), format(u)),
              call, item = i)
      }
      g <- at(i, "g")
      form[i] <- "logistic_intercept"
      values[[i]] <- c(at(i, "a1"), at(i, "d"), if (!is.na(g)) g)
    } else if (type == "graded") {
      form[i] <- "graded_intercept"
      values[[i]] <- c(at(i, "a1"), numbered(i, "d", 1L))
    } else if (type %in% c("gpcm", "Rasch", "nominal")) {
      d <- numbered(i, "d", 0L)
      ak <- numbered(i, "ak", 0L)
      if (length(ak) != length(d)) {
        abort(sprintf("%s has %d scoring values ak and %d intercepts d", item(i), length(ak), length(d)), call,
              item = i)
      }
      # mirt's fitted gpcm scoring values are 0, ..., K-1 to within rounding (3.0000000000000036).
      k <- seq_along(ak) - 1L
      standard <- type != "nominal" && all(abs(ak - k) <= 1e-10 * pmax(1, k))
      form[i] <- if (standard) "partial_credit_intercept" else "nominal_scored"
      values[[i]] <- if (standard) c(at(i, "a1"), d) else c(at(i, "a1"), ak, d)
    } else {
      abort(sprintf("%s: irteq takes the item types 2PL, 3PL, Rasch, graded, gpcm and nominal, not '%s'", item(i),
                    type), call, item = i)
    }
    if (anyNA(values[[i]])) abort(sprintf("%s lacks a value its type needs (a1, d, ...)", item(i)), call, item = i)
  }
  categories <- vapply(seq_len(n), function(i) {
    switch(form[i], logistic_intercept = 2L, graded_intercept = length(values[[i]]),
           partial_credit_intercept = length(values[[i]]) - 1L, nominal_scored = (length(values[[i]]) - 1L) %/% 2L)
  }, 1L)
  if (is.null(scores)) {
    scores <- lapply(categories, function(k) seq_len(k) - 1L)
  } else if (!is.list(scores) || length(scores) != n) {
    abort(sprintf("scores must be a list of one vector of category scores per item (%d), not %s", n,
                  describe(scores)), call)
  } else {
    scores <- lapply(seq_len(n), function(i) as_integers(scores[[i]], sprintf("scores[[%d]]", i), call))
  }
  sources <- list(item = seq_len(n), form = form, D = rep(1, n), scores = scores, values = values)
  convert_sources(sources, NULL, "x", call)
}
