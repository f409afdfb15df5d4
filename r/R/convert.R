# Parameter tables as calibration programs print them, into item sets: the
# columns of each row's parameterisation are gathered here, the conversion
# and its checks are the library's (convert_items in include/irteq/convert.hpp).

# Each parameterisation's columns: `lead` (required, in order), then `series`
# (letter and first index; `optional` when the first index's value may be left
# off), then `tail` (optional). `top` turns the highest index into the category count.
source_layouts <- list(
  logistic_intercept = list(lead = c("a", "d"), tail = "g"),
  logistic_difficulty = list(lead = c("a", "b"), tail = "c"),
  graded_intercept = list(lead = "a", series = list(list("d", 1L, FALSE)), top = 1L),
  graded_difficulty = list(lead = "a", series = list(list("b", 1L, FALSE)), top = 1L),
  graded_normal_intercept = list(lead = "a", series = list(list("d", 1L, FALSE)), top = 1L),
  graded_normal_difficulty = list(lead = "a", series = list(list("b", 1L, FALSE)), top = 1L),
  partial_credit_steps = list(lead = "a", series = list(list("b", 1L, FALSE)), top = 1L),
  partial_credit_muraki = list(lead = c("a", "b"), series = list(list("d", 0L, TRUE)), top = 1L),
  partial_credit_thresholds = list(lead = c("a", "b"), series = list(list("t", 0L, TRUE)), top = 1L),
  partial_credit_intercept = list(lead = "a", series = list(list("d", 0L, TRUE)), top = 1L),
  nominal = list(series = list(list("a", 1L, TRUE), list("c", 1L, TRUE)), top = 0L),
  nominal_scored = list(lead = "a", series = list(list("s", 1L, FALSE), list("c", 1L, FALSE)), top = 0L)
)

#' Convert calibration output into items
#'
#' Converts item parameters in the parameterisations calibration programs
#' print into irteq's items, ready for [equate()]: difficulties from
#' slope/intercept forms, D, the signs of partial credit deviations, the first
#' category's zero. The conversions are the library's, each exact (not an
#' approximation: the items give the printed formula's probabilities), and
#' are described beside the hand recipes in the irteq documentation
#' (`docs/models.md`). [from_mirt()] does the same from a mirt model.
#' [from_calibration] walks from a parameter table to an equating.
#'
#' @details
#' `table` has one row per item and the columns of its parameterisation,
#' named as below (`NA` where an item has no such column, as when items have
#' different numbers of categories). Polytomous columns are numbered by
#' category, the lowest 0 (the nominal forms' by irteq's categories, the first
#' 1); the number of categories is one more than the highest number given (for
#' the nominal forms, the highest number), unless `scores` says otherwise.
#'
#' | `from` | Columns | Formula (D multiplies the whole exponent) | irteq |
#' |---|---|---|---|
#' | `"logistic_intercept"` | a, d, g | P = g + (1 - g) / (1 + exp(-D (a theta + d))) | `"L3"` |
#' | `"logistic_difficulty"` | a, b, c | P = c + (1 - c) / (1 + exp(-D a (theta - b))) | `"L3"` |
#' | `"graded_intercept"` | a, d1, ..., d(K-1) | P(k or higher) = 1 / (1 + exp(-D (a theta + dk))) | `"SL"` |
#' | `"graded_difficulty"` | a, b1, ..., b(K-1) | P(k or higher) = 1 / (1 + exp(-D a (theta - bk))) | `"SL"` |
#' | `"graded_normal_intercept"` | a, d1, ..., d(K-1) | P(k or higher) = Phi(a theta + dk) | `"SN"` |
#' | `"graded_normal_difficulty"` | a, b1, ..., b(K-1) | P(k or higher) = Phi(a (theta - bk)) | `"SN"` |
#' | `"partial_credit_steps"` | a, b1, ..., b(K-1) | P(j) ~ exp(D a (theta - b1) + ... + D a (theta - bj)) | `"MU"` |
#' | `"partial_credit_muraki"` | a, b, d0, d1, ..., d(K-1) | as steps, with step j = b - dj | `"MU"` |
#' | `"partial_credit_thresholds"` | a, b, t0, t1, ..., t(K-1) | as steps, with step j = b + tj | `"MU"` |
#' | `"partial_credit_intercept"` | a, d0, d1, ..., d(K-1) | P(j) ~ exp(D (j a theta + dj)) | `"MU"` |
#' | `"nominal"` | a1, ..., aK, c1, ..., cK | P(k) ~ exp(D (ak theta + ck)) | `"BN"` |
#' | `"nominal_scored"` | a, s1, ..., sK, c1, ..., cK | P(k) ~ exp(D (a sk theta + ck)) | `"BN"` |
#'
#' g and c may be left out or `NA` for 0 (a two-parameter item). The first
#' category's values may be left off where the formula fixes them at zero:
#' d0 and t0 (which do not change the probabilities: irteq holds its d(1) at
#' 0), the intercept d0 of `"partial_credit_intercept"` (then 0), and a1 and
#' c1 of `"nominal"` (a nominal item identified by a first category of zero;
#' one identified by zero sums is given in full). Mind the signs: in Muraki's
#' form a positive dj makes step j easier, in the thresholds form a positive
#' tj makes it harder. D is 1 for estimates on the logistic metric (mirt's,
#' for example) and 1.7 for slopes on the normal metric used through the
#' logistic; the normal ogive forms have no D and ignore it.
#'
#' With `covariance`, the covariance matrix of the printed values is carried
#' into irteq's parameters by the delta method with the conversion's exact
#' Jacobian: rows and columns follow, item by item, each row's values in the
#' order of the table above (the columns given, `NA`s left out), and come out
#' over each item's parameters after D in the order of an item parameter file
#' (see [items()]): `"L3"` a, b, c; `"SN"` and `"SL"` a, b(1), ...; `"BN"`
#' a(1), ..., c(1), ...; `"MU"` a, b, d(1), ..., d(m). Parameters irteq holds
#' fixed (a c not given, the b of `"MU"` items from steps or intercepts, their
#' d(1), a nominal first category left off) have rows and columns of zero.
#'
#' @param table A data frame with one row per item and the columns of its
#'   parameterisation (below); an `item` column, if any, gives the item
#'   numbers, and a `label` column the items' labels (`""` or `NA` for none).
#' @param from The parameterisation: one name for every row, or one per row.
#' @param D The scaling constant the printed values were estimated with: one
#'   number, or one per row.
#' @param scores A list with one vector of category scores per item; by
#'   default 0, 1, ..., K-1.
#' @param covariance A covariance matrix of the printed values (see Details),
#'   or `NULL`. With `attr(covariance, "guessing") <- "logit"` its g (or c)
#'   rows are those of logit(g); the carried matrix keeps the attribute (see
#'   [equate()]'s `x_cov`).
#' @return An item set, as [items()] returns. With `covariance`, a list of
#'   `items` and `covariance`, the carried matrix, its rows and columns named
#'   `item:parameter` (`"3:b(2)"`).
#' @seealso [probabilities()] to check a conversion, [from_mirt()].
#' @examples
#' # The three-parameter logistic item of docs/models.md, printed two ways.
#' convert_items(data.frame(a = 1.36, d = -0.68, g = 0.2), from = "logistic_intercept")
#' convert_items(data.frame(a = 0.8, b = 0.5, c = 0.2), from = "logistic_difficulty", D = 1.7)
#'
#' # Graded items, logistic (mirt's graded) and normal ogive.
#' convert_items(data.frame(a = 1.25, d1 = 1.5, d2 = 0.25, d3 = -1.0), from = "graded_intercept")
#' convert_items(data.frame(a = 0.8, d1 = 0.4, d2 = -0.6), from = "graded_normal_intercept")
#'
#' # One generalized partial credit item, printed four ways: the same item.
#' pc <- list(
#'   convert_items(data.frame(a = 0.9, b1 = -1.0, b2 = 0.2, b3 = 1.1), "partial_credit_steps"),
#'   convert_items(data.frame(a = 0.9, b = 0.1, d1 = 1.1, d2 = -0.1, d3 = -1.0), "partial_credit_muraki"),
#'   convert_items(data.frame(a = 0.9, b = 0.1, t1 = -1.1, t2 = 0.1, t3 = 1.0), "partial_credit_thresholds"),
#'   convert_items(data.frame(a = 0.9, d0 = 0, d1 = 0.9, d2 = 0.72, d3 = -0.27), "partial_credit_intercept"))
#' round(sapply(pc, probabilities, theta = 1), 6)
#'
#' # A nominal item identified by zero sums, and by a first category of zero (a1, c1 left off).
#' convert_items(data.frame(a1 = -1.0, a2 = 0.2, a3 = 0.8, c1 = 0.5, c2 = 0.3, c3 = -0.8), "nominal")
#' convert_items(data.frame(a2 = 1.2, a3 = 1.8, c2 = -0.2, c3 = -1.3), "nominal")
#'
#' # A mixed form in one table, with the covariance of the printed values.
#' table <- data.frame(item = 1:2, a = c(1.1, 0.9), d = c(0.4, NA), g = c(0.2, NA),
#'                     d1 = c(NA, 1.5), d2 = c(NA, -0.5))
#' S <- diag(c(0.01, 0.02, 0.001, 0.01, 0.03, 0.03))
#' convert_items(table, from = c("logistic_intercept", "graded_intercept"), covariance = S)
#' @export
convert_items <- function(table, from, D = 1, scores = NULL, covariance = NULL) {
  call <- sys.call()
  sources <- source_items(table, from, D, scores, "table", call)
  convert_sources(sources, covariance, "table", call)
}

# list(item, form, D, scores, values) for the glue, from a table of printed values.
source_items <- function(table, from, D, scores, what, call) {
  if (!is.data.frame(table)) abort(sprintf("%s must be a data frame, not %s", what, type_name(table)), call)
  n <- nrow(table)
  per_row <- function(x, name) {
    if (length(x) != 1L && length(x) != n) {
      abort(sprintf("%s must have one value, or one per row of %s (%d), not %d", name, what, n, length(x)), call)
    }
    rep_len(x, n)
  }
  if (!is.character(from) || anyNA(from)) abort(sprintf("from must be character, not %s", describe(from)), call)
  unknown <- setdiff(from, names(source_layouts))
  if (length(unknown) > 0L) {
    abort(sprintf("from: unknown parameterisation '%s'; the names are %s", unknown[1L],
                  paste(names(source_layouts), collapse = ", ")), call)
  }
  from <- per_row(from, "from")
  D <- per_row(as_doubles(D, "D", call), "D")
  number <- if (is.null(table[["item"]])) seq_len(n) else as_integers(table[["item"]], sprintf("%s$item", what), call)
  values <- vector("list", n)
  categories <- integer(n)
  for (i in seq_len(n)) {
    row <- row_values(table, i, source_layouts[[from[i]]], from[i], what, call)
    values[[i]] <- row$values
    categories[i] <- row$categories
  }
  if (is.null(scores)) {
    scores <- lapply(categories, function(k) seq_len(max(k, 0L)) - 1L)
  } else {
    if (!is.list(scores) || length(scores) != n) {
      abort(sprintf("scores must be a list of one vector of category scores per item (%d), not %s", n,
                    describe(scores)), call)
    }
    scores <- lapply(seq_len(n), function(i) as_integers(scores[[i]], sprintf("scores[[%d]]", i), call))
  }
  list(item = number, form = from, D = D, scores = scores, values = values,
       label = as_labels(table[["label"]], n, what, call))
}

# One row's printed values in its parameterisation's order, and its number of categories.
row_values <- function(table, i, layout, from, what, call) {
  value <- function(column) {
    x <- table[[column]]
    if (is.null(x)) return(NA_real_)
    if (!is.numeric(x) && !all(is.na(x))) {
      abort(sprintf("%s$%s must be numeric, not %s", what, column, type_name(x)), call)
    }
    as.double(x[[i]])
  }
  place <- sprintf("%s: row %d (%s)", what, i, from)
  lead <- vapply(layout$lead, value, 0)
  if (anyNA(lead)) abort(sprintf("%s lacks %s", place, layout$lead[is.na(lead)][1L]), call)
  tops <- integer()
  series <- list()
  for (s in layout$series) {
    letter <- s[[1L]]
    first <- s[[2L]]
    numbered <- grep(sprintf("^%s[0-9]+$", letter), names(table), value = TRUE)
    index <- as.integer(substring(numbered, 2L))
    index <- index[index >= first]
    given <- index[!is.na(vapply(sprintf("%s%d", letter, index), value, 0))]
    if (length(given) == 0L) abort(sprintf("%s has no %s%d", place, letter, first + as.integer(s[[3L]])), call)
    wanted <- first:max(given)
    skipped <- setdiff(wanted, given)
    if (s[[3L]] && identical(skipped[1L], first)) {  # the first category's zero, left off
      wanted <- wanted[-1L]
      skipped <- skipped[-1L]
    }
    if (length(skipped) > 0L) {
      abort(sprintf("%s has %s%d but not %s%d", place, letter, max(given), letter, skipped[1L]), call)
    }
    series[[length(series) + 1L]] <- vapply(sprintf("%s%d", letter, wanted), value, 0)
    tops <- c(tops, max(given))
  }
  tail <- if (is.null(layout$tail)) numeric() else value(layout$tail)
  list(values = unname(c(lead, unlist(series), tail[!is.na(tail)])),
       categories = if (is.null(layout$top)) 2L else max(tops) + layout$top)
}

convert_sources <- function(sources, covariance, what, call) {
  if (!is.null(covariance)) {
    if (!is.matrix(covariance) || !is.numeric(covariance) || nrow(covariance) != ncol(covariance)) {
      abort(sprintf("covariance must be a square numeric matrix, not %s", describe(covariance)), call)
    }
    as_doubles(covariance, "covariance", call, finite = TRUE)
    check_guessing(covariance, "covariance", call)
    storage.mode(covariance) <- "double"
  }
  v <- core_value(.convert_items(sources, covariance, what), call)
  converted <- new_items(v$items)
  if (is.null(covariance)) return(converted)
  list(items = converted, covariance = named_covariance(v$covariance, converted))
}

# The covariance's rows and columns named "item:parameter" ("3:b").
named_covariance <- function(covariance, items) {
  names <- unlist(lapply(seq_len(nrow(items)), function(i) {
    type <- items$type[i]
    m <- items$categories[i]
    k <- seq_along(items$parameters[[i]])
    if (type != "SN") k <- k[-1L]
    sprintf("%d:%s", items$item[i], sub("^parameter ", "", vapply(k, parameter_name, "", type = type, m = m)))
  }))
  dimnames(covariance) <- list(names, names)
  covariance
}
