# The technical report's tables in R: the checks of equate()'s tables, cuts
# and levels arguments, the data frames of the library's tables, the
# summed-score EAP table of any items, and the plots of the conversion and
# the conditional standard errors of measurement.

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

# One line of print(): the raw scores' reliabilities and the levels.
tables_line <- function(tables) {
  r <- tables$reliability
  raw <- function(form) format(r$reliability[r$form == form & r$metric == "raw"], digits = 3)
  levels <- tables$cut_scores$levels
  sprintf("Tables in $tables: raw score reliability %s (form X), %s (form Y)%s", raw("X"), raw("Y"),
          if (is.null(levels)) "" else sprintf("; %d performance levels", length(levels)))
}

# The tables an equating must have for a plot.
tables_of <- function(x, kind, call) {
  if (is.null(x$tables)) {
    abort(sprintf("x has no tables: equate with tables = TRUE or cuts to plot which = \"%s\"", kind), call)
  }
  x$tables
}

# Each method's reported scale score as a step over each form X raw score,
# the cut scores as lines, each level named where the steps leave room.
plot_conversion <- function(tables, extra) {
  conversion <- tables$conversion
  raw <- conversion$raw
  half <- if (length(raw) > 1L) min(diff(raw)) / 2 else 0.5
  cuts <- tables$cut_scores$cuts
  levels <- tables$cut_scores$levels
  draw(list(x = range(raw) + c(-half, half), y = c(tables$scale_min, tables$scale_max), type = "n",
            xlab = "form X raw score", ylab = "reported scale score",
            main = "Reported scale scores of form X raw scores"), extra)
  usr <- graphics::par("usr")
  if (!is.null(cuts)) {
    bounds <- c(usr[3L], cuts, usr[4L])
    shaded <- seq(2L, length(bounds) - 1L, by = 2L)
    graphics::rect(usr[1L], bounds[shaded], usr[2L], bounds[shaded + 1L], col = colours[["band"]], border = NA)
    graphics::abline(h = cuts, lty = 2, col = "grey30")
    graphics::axis(4, at = cuts, labels = format(cuts), cex.axis = 0.8, tcl = -0.3, col.axis = "grey30")
  } else {
    graphics::grid(col = "grey90", lty = 1)
  }
  steps <- c(true = 1, observed = 2)
  for (method in names(steps)) {
    reported <- conversion[[paste0(method, "_reported")]]
    graphics::lines(c(raw - half, raw[length(raw)] + half), c(reported, reported[length(reported)]), type = "s",
                    col = colours[[method]], lty = steps[[method]], lwd = 2)
  }
  if (!is.null(cuts)) label_levels(levels, c(usr[3L], cuts, usr[4L]), raw, conversion$true_reported, usr)
  graphics::mtext(sprintf("Rounded form Y scale scores within [%d, %d]%s", tables$scale_min, tables$scale_max,
                          if (is.null(cuts)) "" else "; dashed lines: the cut scores (right axis)"),
                  side = 3, line = 0.4, cex = 0.85)
  legend_below(methods, lty = steps, lwd = 2, col = colours[names(steps)])
  graphics::box()
}

# Each level's name in its band, on the side of the plot where the steps
# leave more room: they climb from the lower left to the upper right.
label_levels <- function(levels, bounds, raw, reported, usr) {
  for (k in seq_along(levels)) {
    y <- mean(bounds[k:(k + 1L)])
    past <- which(reported >= y)
    # Where the steps cross the band's middle: the room lies on the wider side of it.
    at <- if (length(past) == 0L) usr[2L] else if (past[1L] == 1L) usr[1L] else raw[past[1L]]
    left <- at - usr[1L] > usr[2L] - at
    graphics::text(if (left) usr[1L] else usr[2L], y, levels[[k]], pos = if (left) 4 else 2, offset = 0.4,
                   font = 2, cex = 0.85, col = "grey20")
  }
}

# The CSEM table's series, by theta or by form X raw score: what each curve
# is, its colour and line.
csem_series <- list(
  x = list(form = "X", equating = NA_character_, label = "form X", col = "#009E73", lty = 1, pch = 17),
  true = list(form = "X", equating = "true", label = "form X, true score equating", col = colours[["true"]],
              lty = 1, pch = 19),
  observed = list(form = "X", equating = "observed", label = "form X, observed score equating",
                  col = colours[["observed"]], lty = 2, pch = 1),
  y = list(form = "Y", equating = NA_character_, label = "form Y", col = "#000000", lty = 4, pch = 2)
)

# Six panels: raw, scale and reported scores (columns) by theta over each
# group's grid and by form X raw score at the thetas of true score equating
# (rows), each column on one vertical scale.
plot_csem <- function(tables, chance, extra) {
  old <- graphics::par(mfrow = c(2L, 3L), oma = c(4, 0, 3.4, 0), mar = c(4.1, 4.6, 2.6, 1.1), mgp = c(2.4, 0.7, 0))
  on.exit(graphics::par(old))
  csem <- tables$csem
  titles <- c(raw = "Raw score", scale = "Scale score", reported = "Reported score")
  by_raw <- !is.na(csem$raw)
  for (row in c("theta", "raw")) {
    for (metric in names(titles)) {
      rows <- csem[csem$metric == metric & by_raw == (row == "raw"), ]
      at <- if (row == "theta") rows$theta else rows$raw
      draw(list(x = range(at), y = c(0, max(csem$csem[csem$metric == metric]) * 1.04), type = "n",
                xlab = if (row == "theta") "theta" else "form X raw score", ylab = "CSEM",
                main = sprintf("%s, by %s", titles[[metric]], if (row == "theta") "theta" else "raw score")), extra)
      graphics::grid(col = "grey90", lty = 1)
      if (row == "raw") graphics::abline(v = chance, lty = 3)
      for (s in csem_series) {
        series <- rows[rows$form == s$form & identical_or_na(rows$equating, s$equating), ]
        if (nrow(series) == 0L) next
        x <- if (row == "theta") series$theta else series$raw
        graphics::lines(x, series$csem, col = s$col, lty = s$lty, lwd = 1.5)
        if (row == "raw") graphics::points(x, series$csem, col = s$col, pch = s$pch, cex = 0.5)
      }
    }
  }
  graphics::mtext("Conditional standard errors of measurement", outer = TRUE, font = 2, cex = 1.1, line = 1.8)
  note <- paste("Top: by theta over each group's grid. Bottom: by form X raw score at its true score theta;",
                "dotted: form X's chance score")
  graphics::mtext(note, outer = TRUE, cex = fitted_cex(note, 0.75), line = 0.5)
  legend_below(vapply(csem_series, `[[`, "", "label"), col = vapply(csem_series, `[[`, "", "col"),
               lty = vapply(csem_series, `[[`, 0, "lty"), lwd = 1.5, ncol = 2L)
}

# An outer text's size (mtext's cex, not scaled by par("cex") as strwidth's
# is), at most cex, at which it fits across the device.
fitted_cex <- function(text, cex) {
  width <- graphics::strwidth(text, units = "inches", cex = cex / graphics::par("cex"))
  min(cex, cex * 0.96 * graphics::par("din")[1L] / width)
}

# Which of a character column's entries are value, NA meaning NA.
identical_or_na <- function(column, value) if (is.na(value)) is.na(column) else column %in% value
