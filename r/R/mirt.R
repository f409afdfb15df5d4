#' Items from a mirt model
#'
#' Converts the items of a unidimensional model fitted by the mirt package,
#' or the coefficient matrix it prints, into irteq's items, ready for
#' [equate()]: each item reproduces mirt's own probabilities (to rounding).
#' From a fitted model, with the covariance of the estimates when the model has
#' one (fitted with `SE = TRUE`). mirt is not needed for a matrix; a fitted
#' model is read through mirt's `coef()`, `vcov()`, `extract.mirt()` and (for
#' a group) `mod2values()`.
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
#' The covariance of a fitted model's estimates, `vcov(model)`, is carried into
#' irteq's parameters as [convert_items()] carries one, by the delta method
#' with the conversion's exact Jacobian. mirt estimates the guessing parameter
#' as logit(g), and its rows stay those of logit(g), the `"L3"` items' logit(c):
#' the covariance has `attr(, "guessing") == "logit"`, so that parametric
#' draws keep c inside (0, 1) (see [equate()]'s `x_cov`). Values mirt holds fixed (a 2PL item's g, a gpcm item's ak, the first
#' intercept d0, the nominal model's ak0 and last ak) have no row in `vcov()`
#' and get variance 0, as do the parameters irteq fixes. A model with equality
#' constraints between parameters is refused when it has a covariance.
#'
#' @param x A fitted mirt model (of class `SingleGroupClass`, or
#'   `MultipleGroupClass` with `group`), or the matrix
#'   `coef(model, simplify = TRUE)$items` (slope/intercept form, not
#'   `IRTpars = TRUE`).
#' @param itemtype The mirt item type of each row of a matrix (one for all, or
#'   one per row); taken from the model when `x` is one.
#' @param scores A list with one vector of category scores per item; by
#'   default 0, 1, ..., K-1.
#' @param group For a model of several groups (of class `MultipleGroupClass`,
#'   from `mirt::multipleGroup()`), the group whose items to take: its name or
#'   number.
#' @return An item set, as [items()] returns, numbered 1, 2, ... in row order;
#'   the elements of its `parameters` column are named by mirt's item names
#'   (the matrix's row names). For a fitted model with a covariance, the list
#'   [convert_items()] returns with a covariance: `items` and `covariance`
#'   (rows and columns named `item:parameter`, as `"3:b(2)"`).
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
#' if (requireNamespace("mirt", quietly = TRUE)) {
#'   responses <- mirt::expand.table(mirt::LSAT7)
#'   fit <- mirt::mirt(responses, 1, itemtype = "2PL", SE = TRUE, verbose = FALSE)
#'   converted <- from_mirt(fit)
#'   converted$items
#'   sqrt(diag(converted$covariance))  # standard errors of a, b and c (0: fixed)
#' }
#' @export
from_mirt <- function(x, itemtype = NULL, scores = NULL, group = NULL) {
  call <- sys.call()
  if (inherits(x, c("SingleGroupClass", "MultipleGroupClass"))) {
    if (!requireNamespace("mirt", quietly = TRUE)) abort("x is a fitted mirt model, but mirt is not installed", call)
    parts <- mirt_parts(x, group, call)
    if (!is.null(itemtype)) parts$itemtype <- itemtype
    return(mirt_convert(parts, scores, call))
  }
  if (!is.null(group)) abort("group is for a fitted multiple-group mirt model, not a coefficient matrix", call)
  mirt_convert(list(coef = x, itemtype = itemtype), scores, call)
}

# mirt's accessors, one call each: mirt_parts() reads a fit only through them, so that saved fits can
# stand in where mirt is not installed.
mirt_readers <- function() {
  list(coef = function(fit) mirt::coef(fit, simplify = TRUE),
       itemtype = function(fit) mirt::extract.mirt(fit, "itemtype"),
       vcov = function(fit) tryCatch(mirt::vcov(fit), error = function(e) NULL),  # NULL: fitted without SE
       constrain = function(fit) tryCatch(mirt::extract.mirt(fit, "constrain"), error = function(e) NULL),
       parnum = function(fit) mirt::mod2values(fit)[c("group", "parnum")])
}

# What the conversion needs of a fitted model: the group's coefficients, item types, the covariance of
# the estimates (NULL without an information matrix) and the number, in vcov's names, of the group's
# first parameter (mirt numbers the parameters of all groups in one run).
mirt_parts <- function(fit, group, call, read = mirt_readers()) {
  coefs <- read$coef(fit)
  first <- 1L
  if (inherits(fit, "MultipleGroupClass")) {
    groups <- names(coefs)
    if (is.numeric(group) && length(group) == 1L && group %in% seq_along(groups)) group <- groups[group]
    if (!is.character(group) || length(group) != 1L || !group %in% groups) {
      abort(sprintf("group must name one group of the model (%s), not %s", paste(groups, collapse = ", "),
                    describe(group)), call)
    }
    numbers <- read$parnum(fit)
    first <- min(numbers$parnum[numbers$group == group])
    coefs <- coefs[[group]]
  } else if (!is.null(group)) {
    abort("group is for a multiple-group model; x has one group", call)
  }
  vcov <- read$vcov(fit)
  if (!is.matrix(vcov) || is.null(rownames(vcov))) vcov <- NULL
  # Equality constraints keep one row for several parameters, which the item-by-item mapping cannot place.
  if (!is.null(vcov) && length(unlist(read$constrain(fit))) > 0L) {
    abort("x has equality constraints between parameters; from_mirt() cannot carry their covariance", call)
  }
  list(coef = coefs$items, itemtype = read$itemtype(fit), vcov = vcov, first = first)
}

# parts: coef (coef(fit, simplify = TRUE)$items, or a matrix like it), itemtype, and optionally vcov
# (mirt's vcov(fit)) with first, the parameter number of the first item's first parameter.
mirt_convert <- function(parts, scores, call) {
  x <- parts$coef
  itemtype <- parts$itemtype
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
      values[[i]] <- c(a1 = at(i, "a1"), d = at(i, "d"), if (!is.na(g)) c(g = g))
    } else if (type == "graded") {
      form[i] <- "graded_intercept"
      d <- numbered(i, "d", 1L)
      names(d) <- sprintf("d%d", seq_along(d))
      values[[i]] <- c(a1 = at(i, "a1"), d)
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
      names(ak) <- sprintf("ak%d", k)
      names(d) <- sprintf("d%d", k)
      values[[i]] <- if (standard) c(a1 = at(i, "a1"), d) else c(a1 = at(i, "a1"), ak, d)
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
  covariance <- if (is.null(parts$vcov)) NULL else mirt_covariance(x, values, parts$vcov, parts$first, call)
  sources <- list(item = seq_len(n), form = form, D = rep(1, n), scores = scores, values = lapply(values, unname))
  converted <- convert_sources(sources, covariance, "x", call)
  if (!is.null(rownames(x))) {  # the item names, until item sets have a column for them
    if (is.null(covariance)) names(converted$parameters) <- rownames(x)
    else names(converted$items$parameters) <- rownames(x)
  }
  converted
}

# The covariance of each item's values (as mirt_convert gathers them) from vcov(fit), whose rows are
# named parameter.number, numbered through the items in order: an item's numbers run over all its
# columns of coef(fit, simplify = TRUE)$items, fixed or not. Fixed values have no row (variance 0);
# the guessing parameter is estimated as logit(g), and the covariance keeps that metric.
mirt_covariance <- function(x, values, vcov, first, call) {
  if (!is.matrix(vcov) || !is.numeric(vcov) || is.null(rownames(vcov)) || nrow(vcov) != ncol(vcov)) {
    abort(sprintf("vcov must be mirt's square covariance matrix with named rows, not %s", describe(vcov)), call)
  }
  name <- sub("\\.[0-9]+$", "", rownames(vcov))
  number <- suppressWarnings(as.integer(sub("^.*\\.", "", rownames(vcov))))
  sizes <- rowSums(!is.na(x))
  ends <- first - 1L + cumsum(sizes)
  owner <- findInterval(number, c(first, ends + 1L), left.open = FALSE)  # item of each row, 0 before, n+1 after
  rows <- integer()
  used <- logical(nrow(vcov))
  for (i in seq_along(values)) {
    for (parameter in names(values[[i]])) {
      row <- which(owner == i & name == parameter)
      rows <- c(rows, if (length(row) == 1L) row else NA_integer_)
      used[row] <- TRUE
    }
  }
  if (!any(used)) abort(sprintf("vcov has no row for the items' parameters, numbered from %d", first), call)
  dropped <- which(owner >= 1L & owner <= length(values) & !used)
  if (length(dropped) > 0L) {
    k <- dropped[1L]
    abort(sprintf("vcov: the estimated parameter %s of item %d has no place in irteq's item", rownames(vcov)[k],
                  owner[k]), call, item = owner[k])
  }
  covariance <- matrix(0, length(rows), length(rows))
  given <- !is.na(rows)
  covariance[given, given] <- vcov[rows[given], rows[given], drop = FALSE]
  if (any(name[rows[given]] == "g")) attr(covariance, "guessing") <- "logit"
  covariance
}
