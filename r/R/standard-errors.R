# Standard errors of the equivalents and linking constants in R: the checks of
# equate()'s covariance, se, draws and seed arguments, the covariance file
# reader, and the columns and tables built from what the library returns.

#' Read a covariance file
#'
#' The covariance matrix of a form's item parameter estimates, as a control
#' file's `new_cov` (form X) and `old_cov` (form Y) records name it for
#' standard errors (see [equate()]): a title line, then the full symmetric
#' P x P matrix, one free-format read per row, P the form's parameters
#' without D, items in file order, each item's values in the order of an item
#' parameter file: `"L3"` a, b, c; `"SN"` and `"SL"` a, b(1), ..., b(m-1);
#' `"BN"` a(1), ..., a(m), c(1), ..., c(m); `"MU"` a, b, d(1), ..., d(m). A
#' parameter held fixed has a row and column of zeros. A wrong count, an
#' asymmetry beyond 1e-9 relative or a negative variance is an error of class
#' `irteq_error` naming the line, row and column by item and parameter. A
#' line `guessing logit` after the title says the `"L3"` c rows are those of
#' logit(c), as flexMIRT, IRTPRO and mirt estimate it; the matrix then has the
#' attribute `guessing = "logit"` (see [equate()]'s `x_cov`).
#'
#' @param path The file's name.
#' @param items The form's item set, as [read_items()] or [items()] return:
#'   it gives the matrix its size and its rows their names.
#' @param strict `TRUE` to make every warning of the reader an error (see
#'   [equate_files()]).
#' @return A numeric matrix, its rows and columns named `item:parameter`
#'   (`"12:b"`, `"3:d(2)"`, the item's number), as [convert_items()] names
#'   the covariance it carries.
#' @seealso [equate()], whose `x_cov` and `y_cov` take such matrices.
#' @examples
#' form <- items(c("L3", "SN"), list(0:1, 0:2), list(c(1.7, 1, 0, 0.2), c(1, -1, 1)))
#' file <- tempfile(fileext = ".cov")
#' writeLines(c("covariance of form X's estimates", "0.01 0 0 0 0 0", "0 0.02 0 0 0 0",
#'              "0 0 0 0 0 0", "0 0 0 0.01 0 0", "0 0 0 0 0.03 0", "0 0 0 0 0 0.03"), file)
#' read_covariance(file, form)
#' @export
read_covariance <- function(path, items, strict = FALSE) {
  call <- sys.call()
  path <- check_path(path, "path", call)
  strict <- check_flag(strict, "strict", call)
  form <- as_items(items, "items", call)
  m <- core_value(.read_covariance(path, form, strict), call)
  names <- item_parameter_names(form, TRUE, call)
  dimnames(m) <- list(names, names)
  m
}

#' Names of the item parameters
#'
#' Each item's parameters as `item:parameter` (`"12:b"`, `"3:d(2)"`, the
#' item's number and the parameter's name in the order of an item parameter
#' file, see [items()]): all of them, or the estimated ones, which are every
#' parameter but the scaling constant D (`"SN"` items have none) and are the
#' rows and columns of a covariance of the estimates (see
#' [read_covariance()], [equate()]'s `x_cov`).
#'
#' @param items An item set, as [items()] or [read_items()] return.
#' @param estimated `TRUE` for the estimated parameters alone.
#' @return A character vector, items in order and each item's parameters in order.
#' @examples
#' form <- items(c("L3", "SN", "MU"), list(0:1, 0:2, 0:2),
#'               list(c(1.7, 1, 0, 0.2), c(1, -1, 1), c(1.7, 0.9, 0, 0, 0.4, -0.4)))
#' parameter_names(form)
#' parameter_names(form, estimated = TRUE)
#' # A covariance of form's estimates, each estimated independently:
#' diag(0.001, length(parameter_names(form, estimated = TRUE)))
#' @export
parameter_names <- function(items, estimated = FALSE) {
  call <- sys.call()
  item_parameter_names(as_items(items, "items", call), check_flag(estimated, "estimated", call), call)
}

item_parameter_names <- function(x, estimated, call) {
  names <- core_value(.parameter_names(x, "items", estimated), call)
  unlist(Map(function(item, n) sprintf("%d:%s", item, n), x$item, names), use.names = FALSE)
}

# A covariance argument (x_cov, y_cov) for the glue: NULL, or a square double
# matrix of numbers, keeping its "guessing" attribute (the metric of the L3
# items' c); its size, symmetry and variances are the library's to check.
as_covariance <- function(x, what, items_what, call) {
  if (is.null(x)) return(NULL)
  if (!is.matrix(x) || !is.numeric(x)) {
    abort(sprintf("%s must be a numeric matrix (the covariance of %s's estimates), not %s", what, items_what,
                  type_name(x)), call)
  }
  if (nrow(x) != ncol(x)) abort(sprintf("%s must be a square matrix, not %d x %d", what, nrow(x), ncol(x)), call)
  place <- function(i) sprintf("%s[%d, %d]", what, (i - 1L) %% nrow(x) + 1L, (i - 1L) %/% nrow(x) + 1L)
  problem <- value_problem(x, place, finite = TRUE)
  if (!is.null(problem)) abort(problem, call)
  guessing <- check_guessing(x, what, call)
  x <- unname(x)
  storage.mode(x) <- "double"
  attr(x, "guessing") <- guessing
  x
}

# A covariance's "guessing" attribute: NULL, "probability" or "logit", the
# metric of its L3 items' c rows (logit: the covariance of logit(c)).
check_guessing <- function(x, what, call) {
  guessing <- attr(x, "guessing", exact = TRUE)
  if (!is.null(guessing) && !(is.character(guessing) && length(guessing) == 1L &&
                              guessing %in% c("probability", "logit"))) {
    abort(sprintf('attr(%s, "guessing") must be "probability" or "logit" (the metric of the L3 items\' c), not %s',
                  what, describe(guessing)), call)
  }
  guessing
}

# se, draws and seed, checked; the draws show their progress on standard error
# in an interactive session (options(irteq.progress = FALSE) silences them).
standard_error_request <- function(se, draws, seed, call) {
  se <- check_flag(se, "se", call)
  whole <- function(x, what, top, range) {
    if (!is.numeric(x) || length(x) != 1L || is.na(x) || x < 0 || x > top || x != trunc(x)) {
      abort(sprintf("%s must be a whole number %s, not %s", what, range,
                    if (is.numeric(x) && length(x) == 1L) format(x, digits = 15) else describe(x)), call)
    }
  }
  whole(draws, "draws", .Machine$integer.max, "of 0 or more")
  whole(seed, "seed", 2^53, "from 0 to 2^53")
  list(se = se, draws = as.integer(draws), seed = as.double(seed),
       progress = isTRUE(getOption("irteq.progress", interactive())))
}

# The columns the equivalents' data frames gain, by route and metric.
se_columns <- list(
  delta = c(se = "raw", scale_se = "scale"),
  draws = list(raw = c(draws_se = "draws_sd", draws_lower = "draws_lower", draws_upper = "draws_upper"),
               scale = c(scale_draws_se = "draws_sd", scale_draws_lower = "draws_lower",
                         scale_draws_upper = "draws_upper"))
)

# The equating with its standard errors, from the glue's list: columns of
# true_score and observed_score, the long table of standard_errors.csv, the
# draws' counts and the linking's standard errors. Nothing changes without them.
with_standard_errors <- function(result, v) {
  if (is.null(v)) return(result)
  raw <- result$true_score$raw
  na <- rep(NA_real_, length(raw))
  filled <- function(x) if (length(x) == 0L) na else x
  delta <- length(v$true_raw$delta) > 0L
  drawn <- length(v$true_raw$draws_sd) > 0L
  long <- list()
  for (equating in c("true", "observed")) {
    frame <- result[[paste0(equating, "_score")]]
    errors <- list(raw = v[[paste0(equating, "_raw")]], scale = v[[paste0(equating, "_scale")]])
    if (delta) for (column in names(se_columns$delta)) frame[[column]] <- errors[[se_columns$delta[[column]]]]$delta
    if (drawn) {
      for (metric in c("raw", "scale")) {
        columns <- se_columns$draws[[metric]]
        for (column in names(columns)) frame[[column]] <- errors[[metric]][[columns[[column]]]]
      }
    }
    result[[paste0(equating, "_score")]] <- frame
    for (metric in c("raw", "scale")) {
      e <- errors[[metric]]
      long[[length(long) + 1L]] <- list(raw = raw, equating = rep(equating, length(raw)),
                                        metric = rep(metric, length(raw)), delta_se = filled(e$delta),
                                        draws_se = filled(e$draws_sd), draws_lower = filled(e$draws_lower),
                                        draws_upper = filled(e$draws_upper))
    }
  }
  result$standard_errors <- new_df(lapply(stats::setNames(nm = names(long[[1L]])),
                                          function(column) unlist(lapply(long, `[[`, column), use.names = FALSE)))
  if (drawn) result$draws <- list(draws = v$draws, redraws = v$redraws, invalid_items = new_df(v$invalid_items))
  if (!is.null(v$linking) && !is.null(result$linking)) {
    result$linking$standard_errors <- constant_errors(result$linking, v$linking$A, v$linking$B)
  }
  result
}

# The applied constants' standard errors by both routes (NA where a route
# was not run); the methods table holds every method's delta-method ones.
constant_errors <- function(linking, A = c(delta = NA_real_), B = c(delta = NA_real_)) {
  field <- function(x, name) if (name %in% names(x)) unname(x[[name]]) else NA_real_
  pick <- function(name) c(field(A, name), field(B, name))
  new_df(list(constant = c("A", "B"), estimate = c(linking$A, linking$B), delta_se = pick("delta"),
              draws_se = pick("draws_sd"), draws_lower = pick("draws_lower"), draws_upper = pick("draws_upper")))
}

# Whether an equating has standard errors, and of which routes.
has_standard_errors <- function(x) !is.null(x$standard_errors)
