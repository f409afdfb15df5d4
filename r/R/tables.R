# The technical report's tables in R: the checks of equate()'s tables, cuts
# and levels arguments, the data frames of the library's tables, and the
# summed-score EAP table of any items.

#' Summed-score EAP table
#'
#' The expected a posteriori ability of each raw score of a set of items,
#' over a quadrature grid (Thissen, Pommerich, Billeaud and Williams, 1995):
#' with L_r(theta) the probability of raw score r at theta (by the
#' Lord-Wingersky recursion over the items' category scores) and w the grid's
#' weights divided by their sum, P(r) = sum_q w_q L_r(theta_q), eap(r) =
#' sum_q w_q theta_q L_r(theta_q) / P(r) and sd(r) = sqrt(sum_q w_q (theta_q
#' - eap(r))^2 L_r(theta_q) / P(r)). The same doubles as the `eap` table of
#' [equate()]'s `tables` for a form and its group's grid.
#'
#' @param items An item set, as [items()] or [read_items()] return.
#' @param grid A quadrature grid: a data frame with the columns `theta` and
#'   `weight`, as [normal_grid()] or [read_grid()] return.
#' @return A data frame with one row per raw score point, lowest first: `raw`,
#'   `probability` (the marginal probability of the raw score in the grid's
#'   population), `eap` and `sd` (the posterior mean and standard deviation
#'   of theta given the raw score; `NA` where the raw score has probability 0).
#' @seealso [equate()] with `tables = TRUE` gives both forms' tables.
#' @examples
#' # mirt's LSAT7 two-parameter fit, slope-intercept a and d, as "L3" items
#' # with D = 1, b = -d / a and c = 0.
#' a <- c(0.988, 1.081, 1.706, 0.765, 0.736)
#' d <- c(1.856, 0.808, 1.804, 0.486, 1.855)
#' lsat7 <- items(rep("L3", 5), rep(list(0:1), 5), Map(function(a, d) c(1, a, -d / a, 0), a, d))
#' eap_table(lsat7, normal_grid(points = 61, range = c(-6, 6)))
#' @export
eap_table <- function(items, grid) {
  call <- sys.call()
  check_given(c(items = missing(items), grid = missing(grid)), call)
  new_df(core_value(.eap_table(as_items(items, "items", call), as_grid(grid, "grid", call)), call))
}

# tables, cuts and levels of equate(), their types checked: the cut scores'
# values and the levels' count are the library's to check.
tables_request <- function(tables, cuts, levels, call) {
  tables <- check_flag(tables, "tables", call)
  if (!is.null(cuts)) cuts <- as_doubles(cuts, "cuts", call)
  if (!is.null(levels)) {
    if (is.null(cuts)) abort("levels names the performance levels of cuts: give cuts too", call)
    if (!is.character(levels) || anyNA(levels)) {
      abort(sprintf("levels must be the levels' names (character, no NA), not %s", describe(levels)), call)
    }
  }
  list(tables = tables, cuts = cuts, levels = if (!is.null(levels)) enc2utf8(levels))
}

# The glue's tables with their data frames; NULL when the run made none.
new_tables <- function(v) {
  if (is.null(v)) return(NULL)
  frames <- intersect(c("conversion", "eap", "csem", "reliability", "classification"), names(v))
  v[frames] <- lapply(v[frames], new_df)
  v
}
