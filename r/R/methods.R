#' Look at an equating
#'
#' `print()` gives a compact summary; `summary()` the moments and the largest
#' differences between true score and observed score equivalents;
#' `as.data.frame()` both methods' results side by side, one row per form X
#' raw score, with the columns of the console program's `equivalents.csv`.
#'
#' @param x,object An `irteq_equating` object, as [equate()] returns.
#' @param row.names,optional Not used (for the generic).
#' @param ... Not used.
#' @return `print()` returns `x` invisibly; `summary()` an object of class
#'   `summary.irteq_equating`: a list with `moments` (as in `x`) and
#'   `differences` (for the equivalents, their scale and their rounded scale
#'   scores: the form X raw score where true score and observed score
#'   equating differ most, the two values and their difference);
#'   `as.data.frame()` a data frame with `raw`, `theta`, `true_equivalent`,
#'   `true_scale`, `true_rounded`, `observed_equivalent`, `observed_scale`
#'   and `observed_rounded`.
#' @examples
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' eq <- equate_files(file.path(folder, "control.txt"))
#' summary(eq)
#' head(as.data.frame(eq))
#' @name print.irteq_equating
#' @export
print.irteq_equating <- function(x, ...) {
  d <- x$distributions
  span <- function(form) {
    raw <- d$raw[d$form == form]
    sprintf("raw %s to %s", format(min(raw)), format(max(raw)))
  }
  cat(sprintf("IRT equating of form X (%s) to form Y (%s)\n", span("X"), span("Y")))
  t <- as.data.frame(x)
  rows <- unique(round(seq(1, nrow(t), length.out = min(nrow(t), 7L))))
  shown <- data.frame(raw = t$raw, true = t$true_equivalent, observed = t$observed_equivalent,
                      true_rounded = t$true_rounded, observed_rounded = t$observed_rounded)[rows, ]
  cat("Form Y equivalents of some form X raw scores (", nrow(t), " in all):\n", sep = "")
  print(shown, digits = 4, row.names = FALSE)
  n <- nrow(x$warnings)
  if (n > 0L) {
    cat(sprintf("%d root search%s failed, at raw score%s %s: see $warnings\n", n,
                if (n == 1L) "" else "es", if (n == 1L) "" else "s",
                paste(format(x$warnings$raw), collapse = ", ")))
  }
  invisible(x)
}

#' @rdname print.irteq_equating
#' @export
summary.irteq_equating <- function(object, ...) {
  t <- as.data.frame(object)
  differences <- do.call(rbind, lapply(c("equivalent", "scale", "rounded"), function(what) {
    true <- t[[paste0("true_", what)]]
    observed <- t[[paste0("observed_", what)]]
    i <- which.max(abs(true - observed))
    data.frame(of = what, raw = t$raw[i], true = true[i], observed = observed[i],
               difference = true[i] - observed[i])
  }))
  structure(list(moments = object$moments, differences = differences,
                 warnings = nrow(object$warnings)),
            class = "summary.irteq_equating")
}

#' @rdname print.irteq_equating
#' @export
print.summary.irteq_equating <- function(x, ...) {
  cat("Moments (sd with the total weight as divisor, kurtosis not reduced by 3):\n")
  print(x$moments, digits = 6, row.names = FALSE)
  cat("\nLargest differences between true score and observed score equating:\n")
  print(x$differences, digits = 6, row.names = FALSE)
  if (x$warnings > 0L) cat(sprintf("\n%d root searches failed: see $warnings\n", x$warnings))
  invisible(x)
}

#' @rdname print.irteq_equating
#' @export
as.data.frame.irteq_equating <- function(x, row.names = NULL, optional = FALSE, ...) {
  t <- x$true_score
  o <- x$observed_score
  new_df(list(raw = t$raw, theta = t$theta, true_equivalent = t$equivalent, true_scale = t$scale,
              true_rounded = t$rounded, observed_equivalent = o$equivalent, observed_scale = o$scale,
              observed_rounded = o$rounded))
}

#' Plot an equating
#'
#' Base graphics of an equating: `"equivalents"`, the form Y equivalents of
#' both methods against the form X raw score, with the identity line;
#' `"differences"`, each equivalent minus its form X raw score; and
#' `"distributions"`, the synthetic population's raw score distributions of
#' both forms.
#'
#' @param x An `irteq_equating` object, as [equate()] returns.
#' @param which Which plots to draw, one or more of `"equivalents"`,
#'   `"differences"` and `"distributions"`; all three by default, one after
#'   another (on an interactive device after a prompt).
#' @param ... Further graphical parameters for [graphics::plot()], such as
#'   `main` or `xlim`.
#' @return `x`, invisibly.
#' @examples
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' eq <- equate_files(file.path(folder, "control.txt"))
#' plot(eq, which = "equivalents")
#' plot(eq, which = "differences")
#' @export
plot.irteq_equating <- function(x, which = c("equivalents", "differences", "distributions"), ...) {
  which <- match.arg(which, several.ok = TRUE)
  if (length(which) > 1L && grDevices::dev.interactive()) {
    old <- grDevices::devAskNewPage(TRUE)
    on.exit(grDevices::devAskNewPage(old))
  }
  raw <- x$true_score$raw
  true <- x$true_score$equivalent
  observed <- x$observed_score$equivalent
  methods <- c("true score", "observed score")
  for (kind in which) {
    switch(kind,
      equivalents = {
        draw(list(x = raw, y = true, type = "l", xlab = "form X raw score",
                  ylab = "form Y equivalent", main = "Equivalents",
                  ylim = range(true, observed, raw)), list(...))
        graphics::lines(raw, observed, lty = 2, col = "red")
        graphics::abline(0, 1, col = "grey")
        graphics::legend("topleft", c(methods, "identity"), lty = c(1, 2, 1),
                         col = c("black", "red", "grey"), bty = "n")
      },
      differences = {
        draw(list(x = raw, y = true - raw, type = "l", xlab = "form X raw score",
                  ylab = "equivalent minus raw score", main = "Differences",
                  ylim = range(true - raw, observed - raw)), list(...))
        graphics::lines(raw, observed - raw, lty = 2, col = "red")
        graphics::abline(h = 0, col = "grey")
        graphics::legend("bottomleft", methods, lty = 1:2, col = c("black", "red"), bty = "n")
      },
      distributions = {
        d <- x$distributions
        dx <- d[d$form == "X", ]
        dy <- d[d$form == "Y", ]
        draw(list(x = dx$raw, y = dx$synthetic, type = "l", xlab = "raw score",
                  ylab = "probability", main = "Synthetic population distributions",
                  xlim = range(d$raw), ylim = c(0, max(d$synthetic))), list(...))
        graphics::lines(dy$raw, dy$synthetic, lty = 2, col = "red")
        graphics::legend("topright", c("form X", "form Y"), lty = 1:2, col = c("black", "red"), bty = "n")
      }
    )
  }
  invisible(x)
}

# plot() with our defaults, any of them overridden by the caller's.
draw <- function(defaults, extra) {
  args <- utils::modifyList(defaults, extra)
  do.call(graphics::plot, args)
}
