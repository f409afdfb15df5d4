#' Look at an equating
#'
#' `print()` gives a compact summary; `summary()` the moments and the largest
#' differences between true score and observed score equivalents, over the
#' form X raw scores where true score equating searched an ability (above the
#' chance score and below the top score, where it draws a straight line or
#' takes form Y's top score and does not compare with observed score equating);
#' `as.data.frame()` both methods' results side by side, one row per form X
#' raw score, with the columns of the console program's `equivalents.csv`.
#'
#' @param x,object An `irteq_equating` object, as [equate()] returns.
#' @param row.names,optional Not used (for the generic).
#' @param ... Not used.
#' @return `print()` returns `x` invisibly; `summary()` an object of class
#'   `summary.irteq_equating`: a list with `moments` (the moments of `x` in
#'   words: `metric`, `population`, `score`, `mean`, `sd`, `skewness`,
#'   `kurtosis`), `differences` (one row each for the raw score equivalents,
#'   their scale scores and their rounded scale scores: `result`, the
#'   `raw_score` of form X where the two methods differ most, the
#'   `true_score_equating` and `observed_score_equating` values there and their
#'   `difference`, true minus observed) and `warnings` (the number of failed
#'   root searches) and `linking` (the linking's summary, see
#'   [summary.irteq_linking()], when the equating followed one; else `NULL`);
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
  if (!is.null(x$linking)) {
    cat("after linking form X's scale onto form Y's: ", transformation_line(x$linking), "\n", sep = "")
  }
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
  # Up to the chance score true score equating draws a straight line and at the top it
  # takes form Y's top score: neither compares with observed score equating.
  searched <- which(!is.na(t$theta))
  labels <- c(equivalent = "raw score equivalent", scale = "scale score", rounded = "rounded scale score")
  differences <- do.call(rbind, lapply(names(labels), function(what) {
    true <- t[[paste0("true_", what)]]
    observed <- t[[paste0("observed_", what)]]
    i <- searched[which.max(abs(true[searched] - observed[searched]))][1L]
    data.frame(result = labels[[what]], raw_score = t$raw[i], true_score_equating = true[i],
               observed_score_equating = observed[i], difference = true[i] - observed[i])
  }))
  m <- object$moments
  word <- function(x, words) ifelse(x %in% names(words), words[x], x)
  moments <- data.frame(
    metric = word(m$block, c(raw = "raw", scale = "scale", rounded = "rounded scale")),
    population = word(m$group, c("1" = "group 1", "2" = "group 2", s = "synthetic")),
    score = word(m$score, c(X = "form X", Y = "form Y", true = "true score equivalents",
                            observed = "observed score equivalents")),
    mean = m$mean, sd = m$sd, skewness = m$skewness, kurtosis = m$kurtosis)
  structure(list(moments = moments, differences = differences, warnings = nrow(object$warnings),
                 linking = if (!is.null(object$linking)) summary(object$linking)),
            class = "summary.irteq_equating")
}

#' @rdname print.irteq_equating
#' @export
print.summary.irteq_equating <- function(x, ...) {
  if (!is.null(x$linking)) {
    cat("Form X's scale linked onto form Y's through common items, then equated:\n")
    print(x$linking)
    cat("\n")
  }
  cat("Moments (sd with the total weight as divisor, kurtosis not reduced by 3):\n")
  print(x$moments, digits = 6, row.names = FALSE)
  cat("\nLargest differences between true score and observed score equating (difference = true minus",
      "\nobserved), over the form X raw scores above the chance score and below the top score:\n")
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
#' Base graphics of an equating, for a technical report. Score points are
#' drawn as points, since raw scores are whole numbers.
#'
#' * `"equivalents"`: the form Y equivalents of true score and observed score
#'   equating against the form X raw score, with the identity line when
#'   `metric = "raw"`.
#' * `"differences"`: true score minus observed score equivalent at each form
#'   X raw score, with a band of ±0.5 around 0, the difference that matters
#'   (half a reported score unit, after Dorans and Feigenbaum: smaller
#'   differences seldom change a rounded score), and a dotted line at form X's
#'   chance score: up to there true score equating draws a straight line
#'   instead of searching an ability, and differs from observed score equating
#'   by construction.
#' * `"distributions"`: each form's raw score distribution in group 1, group 2
#'   and the synthetic population, one panel per form (always in raw scores).
#'
#' @param x An `irteq_equating` object, as [equate()] returns.
#' @param which Which plots to draw, one or more of `"equivalents"`,
#'   `"differences"` and `"distributions"`; all three by default, one after
#'   another (on an interactive device after a prompt).
#' @param metric `"raw"` for form Y raw score equivalents, `"scale"` for their
#'   (unrounded) form Y scale scores.
#' @param ... Further graphical parameters for [graphics::plot()], such as
#'   `main` or `xlim`.
#' @return `x`, invisibly.
#' @examples
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' eq <- equate_files(file.path(folder, "control.txt"))
#' plot(eq, which = "equivalents")
#' plot(eq, which = "differences", metric = "scale")
#' plot(eq, which = "distributions")
#' @export
plot.irteq_equating <- function(x, which = c("equivalents", "differences", "distributions"),
                                metric = c("raw", "scale"), ...) {
  which <- match.arg(which, several.ok = TRUE)
  metric <- match.arg(metric)
  if (length(which) > 1L && grDevices::dev.interactive()) {
    old <- grDevices::devAskNewPage(TRUE)
    on.exit(grDevices::devAskNewPage(old), add = TRUE)
  }
  # Room at the foot for the legend, and the y axis labels upright.
  old_par <- graphics::par(mar = c(6.1, 5.1, 3.1, 1.1), mgp = c(3.4, 0.8, 0), las = 1)
  on.exit(graphics::par(old_par), add = TRUE)
  column <- if (metric == "raw") "equivalent" else "scale"
  raw <- x$true_score$raw
  true <- x$true_score[[column]]
  observed <- x$observed_score[[column]]
  unit <- if (metric == "raw") "form Y raw score equivalent" else "form Y scale score"
  for (kind in which) {
    switch(kind,
      equivalents = plot_equivalents(raw, true, observed, metric, unit, list(...)),
      differences = plot_differences(raw, true - observed, x$chance_score, metric, list(...)),
      distributions = plot_distributions(x$distributions, x$w2, list(...))
    )
  }
  invisible(x)
}

# Okabe-Ito colours, told apart by readers with colour blindness and in grey print.
colours <- c(true = "#0072B2", observed = "#D55E00", group1 = "#0072B2", group2 = "#D55E00",
             synthetic = "#000000", band = "#E5E5E5")
methods <- c("true score equating", "observed score equating")

plot_equivalents <- function(raw, true, observed, metric, unit, extra) {
  draw(list(x = raw, y = true, type = "n", xlab = "form X raw score", ylab = unit,
            main = "Form Y equivalents of form X raw scores",
            ylim = range(true, observed, if (metric == "raw") raw)), extra)
  graphics::grid(col = "grey90", lty = 1)
  if (metric == "raw") graphics::abline(0, 1, col = "grey50", lty = 2)
  graphics::points(raw, true, pch = 19, cex = 0.6, col = colours[["true"]])
  graphics::points(raw, observed, pch = 1, cex = 0.8, col = colours[["observed"]])
  shown <- if (metric == "raw") 1:3 else 1:2
  legend_below(c(methods, "identity")[shown], pch = c(19, 1, NA)[shown], lty = c(0, 0, 2)[shown],
               col = c(colours[c("true", "observed")], "grey50")[shown])
}

plot_differences <- function(raw, difference, chance, metric, extra) {
  limit <- max(0.75, abs(difference), na.rm = TRUE)
  draw(list(x = raw, y = difference, type = "n", xlab = "form X raw score",
            ylab = sprintf("true minus observed (%s score)", metric),
            main = "True score minus observed score equating", ylim = c(-limit, limit)), extra)
  usr <- graphics::par("usr")
  graphics::rect(usr[1L], -0.5, usr[2L], 0.5, col = colours[["band"]], border = NA)
  graphics::abline(h = 0, col = "grey50")
  graphics::abline(v = chance, lty = 3)
  graphics::text(chance, usr[4L], sprintf("chance score %.4g", chance), pos = 1, offset = 0.3, cex = 0.8)
  graphics::points(raw, difference, pch = 19, cex = 0.6)
  legend_below(c(expression(paste("difference that matters (", "" %+-% 0.5, ")")), "form X chance score"),
               fill = c(colours[["band"]], NA), border = NA, lty = c(0, 3))
  graphics::box()
}

plot_distributions <- function(d, w2, extra) {
  old <- graphics::par(mfrow = c(1L, 2L), oma = c(0, 0, 2, 0))
  on.exit(graphics::par(old))
  series <- c(group1 = "group 1 (took form X)", group2 = "group 2 (took form Y)",
              synthetic = "synthetic population")
  top <- max(d$group1, d$group2, d$synthetic)
  for (form in c("X", "Y")) {
    f <- d[d$form == form, ]
    draw(list(x = f$raw, y = f$synthetic, type = "n", xlab = sprintf("form %s raw score", form),
              ylab = "probability", main = sprintf("Form %s", form), ylim = c(0, top)), extra)
    graphics::grid(col = "grey90", lty = 1)
    for (s in names(series)) {
      graphics::lines(f$raw, f[[s]], col = colours[[s]], lwd = 0.5)
      graphics::points(f$raw, f[[s]], col = colours[[s]], pch = c(group1 = 1, group2 = 2, synthetic = 19)[[s]],
                       cex = 0.5)
    }
  }
  legend_below(series, col = colours[names(series)], pch = c(1, 2, 19))
  graphics::mtext(sprintf("Raw score distributions; synthetic population with w2 = %s", format(w2)),
                  outer = TRUE, font = 2, cex = 1.1)
}

# A one-line legend at the foot of the device, below the axis titles, where it hides no point.
legend_below <- function(legend, ...) {
  graphics::legend(graphics::grconvertX(0.5, "ndc", "user"), graphics::grconvertY(0, "ndc", "user"), legend,
                   xjust = 0.5, yjust = 0, horiz = TRUE, bty = "n", xpd = NA, cex = 0.85, ...)
}

# plot() with our defaults, any of them overridden by the caller's.
draw <- function(defaults, extra) {
  args <- utils::modifyList(defaults, extra)
  do.call(graphics::plot, args)
}
