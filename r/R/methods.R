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
#'   [summary.irteq_linking()], when the equating followed one; else `NULL`),
#'   and when `x` has standard errors `standard_errors` (per `equating`
#'   method, `metric` and `route`, the `mean` and `largest` standard error
#'   over the form X raw scores above the chance score and below the top
#'   score, as for the differences, and the raw score `at_raw_score` of the
#'   largest) and `draws` (as in `x`); `print()` headlines the largest of them;
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
    if (screened(x$linking)) cat(screening_line(x$linking), "\n", sep = "")
  }
  t <- as.data.frame(x)
  rows <- unique(round(seq(1, nrow(t), length.out = min(nrow(t), 7L))))
  shown <- data.frame(raw = t$raw, true = t$true_equivalent, observed = t$observed_equivalent,
                      true_rounded = t$true_rounded, observed_rounded = t$observed_rounded)[rows, ]
  cat("Form Y equivalents of some form X raw scores (", nrow(t), " in all):\n", sep = "")
  print(shown, digits = 4, row.names = FALSE)
  if (!is.null(x$standard_errors)) cat(standard_errors_line(x), "\n", sep = "")
  if (!is.null(x$tables)) cat(tables_line(x$tables), "\n", sep = "")
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
  result <- structure(list(moments = moments, differences = differences, warnings = nrow(object$warnings),
                           linking = if (!is.null(object$linking)) summary(object$linking)),
                      class = "summary.irteq_equating")
  if (!is.null(object$standard_errors)) {
    result$standard_errors <- standard_errors_summary(object)
    result$draws <- object$draws
  }
  result
}

# Per equating method, metric and route: the mean and largest standard error
# over the form X raw scores where true score equating searched an ability.
standard_errors_summary <- function(x) {
  e <- x$standard_errors
  searched <- e$raw %in% x$true_score$raw[!is.na(x$true_score$theta)]
  rows <- list()
  for (equating in c("true", "observed")) {
    for (metric in c("raw", "scale")) {
      for (route in c("delta", "draws")) {
        at <- e$equating == equating & e$metric == metric & searched
        se <- e[[paste0(route, "_se")]][at]
        if (all(is.na(se))) next
        i <- which.max(se)
        rows[[length(rows) + 1L]] <- data.frame(
          equating = c(true = "true score", observed = "observed score")[[equating]], metric = metric,
          route = c(delta = "delta method", draws = "parametric draws")[[route]], mean = mean(se), largest = se[i],
          at_raw_score = e$raw[at][i])
      }
    }
  }
  do.call(rbind, rows)
}

# One line of print(): the routes run and the largest raw score standard
# errors, where summary() takes them: above the chance score, below the top.
standard_errors_line <- function(x) {
  s <- standard_errors_summary(x)
  delta <- "delta method" %in% s$route
  routes <- c(if (delta) "delta method", if (!is.null(x$draws)) sprintf("%d parametric draws", x$draws$draws))
  largest <- function(equating) {
    format(s$largest[s$equating == equating & s$metric == "raw" &
                       s$route == if (delta) "delta method" else "parametric draws"], digits = 3)
  }
  sprintf(paste0("Standard errors (%s): up to %s (true score) and %s (observed score) on form Y's raw score scale",
                 "\nabove the chance score; see $standard_errors and plot(x, which = \"se\")"),
          paste(routes, collapse = ", "), largest("true score"), largest("observed score"))
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
  if (!is.null(x$standard_errors)) {
    cat("\nStandard errors over the form X raw scores above the chance score and below the top score",
        if (!is.null(x$draws)) sprintf(" (%d parametric draws, %d drawn again)", x$draws$draws, x$draws$redraws),
        ":\n", sep = "")
    print(x$standard_errors, digits = 4, row.names = FALSE)
  }
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
#' * `"se"` (an equating with standard errors only, see [equate()]): the
#'   standard errors of both methods' equivalents at each form X raw score,
#'   the delta method's as lines, the parametric draws' as points.
#' * `"conversion"` (an equating with tables only, see [equate()]'s
#'   `tables` and `cuts`): each method's reported score (the rounded scale
#'   score clamped to the scale's range) as a step at each form X raw score;
#'   with cut scores, the cuts as dashed lines (their values on the right
#'   axis), the performance levels as bands, each named where the steps
#'   leave room.
#' * `"csem"` (an equating with tables only): the conditional standard errors
#'   of measurement of the tables' `csem`, in six panels: of raw scores,
#'   scale scores and reported scores (columns, one vertical scale each), by
#'   theta over each group's grid (top) and by form X raw score at the theta
#'   of true score equating (bottom); form X's raw scores, its scores by each
#'   method, and form Y's scores.
#'
#' When the equating has standard errors, `"differences"` also draws each
#' method's 95 % confidence band about 0: its equivalent's estimate
#' +-1.96 standard errors by the delta method, or the 2.5 % and 97.5 %
#' quantiles of the parametric draws when there are draws, less the
#' estimate. A difference between the methods inside the bands is within the
#' sampling error of the item parameter estimates.
#'
#' With `baseline = "raw"`, `"differences"` draws instead each method's form
#' Y raw score equivalent minus the form X raw score, how far the equating
#' moves each score (0 where form X and form Y are alike), with each
#' method's 95 % band about its difference when there are standard errors
#' (the same bands, about the estimate instead of 0).
#'
#' @param x An `irteq_equating` object, as [equate()] returns.
#' @param which Which plots to draw, one or more of `"equivalents"`,
#'   `"differences"`, `"distributions"`, `"se"`, `"conversion"` and
#'   `"csem"`; by default the first three, and `"se"` when `x` has standard
#'   errors, one after another (on an interactive device after a prompt).
#' @param metric `"raw"` for form Y raw score equivalents, `"scale"` for their
#'   (unrounded) form Y scale scores.
#' @param baseline What `"differences"` subtracts: `"observed"`, observed
#'   score equating's equivalents from true score equating's; `"raw"`, the
#'   form X raw score from each method's equivalent (with `metric = "raw"`).
#' @param ... Further graphical parameters for [graphics::plot()], such as
#'   `main` or `xlim`.
#' @return `x`, invisibly.
#' @examples
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' eq <- equate_files(file.path(folder, "control.txt"))
#' plot(eq, which = "equivalents")
#' plot(eq, which = "differences", metric = "scale")
#' plot(eq, which = "distributions")
#'
#' # Standard errors, from a covariance made up for the example (see equate()).
#' x <- read_items(file.path(folder, "formx.par"))
#' p <- length(parameter_names(x, estimated = TRUE))
#' with_se <- equate(x, read_items(file.path(folder, "formy.par")),
#'                   read_grid(file.path(folder, "group1.qd")),
#'                   read_grid(file.path(folder, "group2.qd")),
#'                   read_scale_table(file.path(folder, "formy.scl")),
#'                   x_cov = diag(0.001, p), se = TRUE, draws = 50)
#' plot(with_se, which = "se", metric = "scale")
#' plot(with_se, which = "differences")
#' plot(with_se, which = "differences", baseline = "raw")
#'
#' # The tables' plots, with performance levels.
#' leveled <- equate_files(file.path(folder, "control.txt"), tables = TRUE)
#' plot(leveled, which = "csem")
#' leveled <- equate(x, read_items(file.path(folder, "formy.par")),
#'                   read_grid(file.path(folder, "group1.qd")),
#'                   read_grid(file.path(folder, "group2.qd")),
#'                   read_scale_table(file.path(folder, "formy.scl")),
#'                   cuts = c(130, 150, 170), levels = c("Below Basic", "Basic", "Proficient", "Advanced"))
#' plot(leveled, which = "conversion")
#' @export
plot.irteq_equating <- function(x, which = c("equivalents", "differences", "distributions", "se"),
                                metric = c("raw", "scale"), baseline = c("observed", "raw"), ...) {
  call <- sys.call()
  every <- missing(which)
  which <- match.arg(which, c("equivalents", "differences", "distributions", "se", "conversion", "csem"),
                     several.ok = TRUE)
  metric <- match.arg(metric)
  baseline <- match.arg(baseline)
  errors <- standard_error_series(x, metric)
  if (every && is.null(errors)) which <- setdiff(which, "se")
  if ("se" %in% which && is.null(errors)) {
    abort("x has no standard errors: equate with se = TRUE or draws > 0 to plot them", call)
  }
  if ("differences" %in% which && baseline == "raw" && metric != "raw") {
    abort(paste("baseline = \"raw\" subtracts form X's raw scores from form Y raw score equivalents:",
                "plot it with metric = \"raw\""), call)
  }
  tables <- lapply(stats::setNames(nm = intersect(which, c("conversion", "csem"))), tables_of, x = x, call = call)
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
    # The standard errors' plots: two rows of legend below, a line of subtitle above;
    # the conversion's cut scores on the right.
    two_rows <- kind == "se" || (kind == "differences" && !is.null(errors))
    right <- if (kind == "conversion" && !is.null(x$tables$cut_scores)) 4.1 else 1.1
    graphics::par(mar = if (two_rows) c(7.4, 5.1, 4.1, 1.1) else c(6.1, 5.1, 3.1 + (kind == "conversion"), right))
    switch(kind,
      equivalents = plot_equivalents(raw, true, observed, metric, unit, list(...)),
      differences = if (baseline == "raw") {
        plot_adjustments(raw, list(true = true, observed = observed), x$chance_score, errors, list(...))
      } else {
        plot_differences(raw, true - observed, x$chance_score, metric, errors, list(...))
      },
      distributions = plot_distributions(x$distributions, x$w2, list(...)),
      se = plot_standard_errors(raw, errors, x$chance_score, unit, list(...)),
      conversion = plot_conversion(tables$conversion, list(...)),
      csem = plot_csem(tables$csem, x$chance_score, list(...))
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

plot_differences <- function(raw, difference, chance, metric, errors, extra) {
  bands <- if (!is.null(errors)) lapply(errors$methods, function(m) m$band)
  limit <- max(0.75, abs(c(difference, unlist(bands))), na.rm = TRUE)
  draw(list(x = raw, y = difference, type = "n", xlab = "form X raw score",
            ylab = sprintf("true minus observed (%s score)", metric),
            main = "True score minus observed score equating", ylim = c(-limit, limit)), extra)
  usr <- graphics::par("usr")
  graphics::rect(usr[1L], -0.5, usr[2L], 0.5, col = colours[["band"]], border = NA)
  graphics::abline(h = 0, col = "grey50")
  mark_chance(chance)
  for (m in names(bands)) {
    graphics::matlines(raw, bands[[m]], col = colours[[m]], lty = band_lines[[m]], lwd = 1.2)
  }
  graphics::points(raw, difference, pch = 19, cex = 0.6)
  legend <- c(expression(paste("difference that matters (", "" %+-% 0.5, ")")), "form X chance score")
  if (is.null(bands)) {
    legend_below(legend, fill = c(colours[["band"]], NA), border = NA, lty = c(0, 3))
  } else {
    graphics::mtext(sprintf("95 %% bands about 0: %s", errors$band_source), side = 3, line = 0.4, cex = 0.85)
    legend_below(c(legend, sprintf("%s, 95 %% band", methods)), ncol = 2L, fill = c(colours[["band"]], NA, NA, NA),
                 border = NA, lty = c(0, 3, band_lines), col = c(NA, "black", colours[c("true", "observed")]))
  }
  graphics::box()
}

band_lines <- c(true = 2, observed = 4)

# Each method's equivalent minus the form X raw score it equates, with its
# 95 % band when there are standard errors: how far the equating moves each score.
plot_adjustments <- function(raw, equivalents, chance, errors, extra) {
  moved <- lapply(equivalents, `-`, raw)
  bands <- if (!is.null(errors)) Map(`+`, moved, lapply(errors$methods, function(m) m$band))
  draw(list(x = raw, y = moved$true, type = "n", xlab = "form X raw score",
            ylab = "equivalent minus raw score", main = "Form Y equivalents minus form X raw scores",
            ylim = range(0, unlist(moved), unlist(bands), na.rm = TRUE)), extra)
  graphics::grid(col = "grey90", lty = 1)
  graphics::abline(h = 0, col = "grey50")
  mark_chance(chance)
  for (m in names(bands)) {
    graphics::matlines(raw, bands[[m]], col = colours[[m]], lty = band_lines[[m]], lwd = 1.2)
  }
  graphics::points(raw, moved$true, pch = 19, cex = 0.6, col = colours[["true"]])
  graphics::points(raw, moved$observed, pch = 1, cex = 0.8, col = colours[["observed"]])
  if (is.null(bands)) {
    legend_below(c(methods, "form X chance score"), pch = c(19, 1, NA), lty = c(0, 0, 3),
                 col = c(colours[c("true", "observed")], "black"))
  } else {
    graphics::mtext(sprintf("95 %% bands: %s", sub(" less the estimate$", "", errors$band_source)), side = 3,
                    line = 0.4, cex = 0.85)
    legend_below(c(methods, sprintf("%s, 95 %% band", methods)), ncol = 2L, pch = c(19, 1, NA, NA),
                 lty = c(0, 0, band_lines), col = colours[c("true", "observed", "true", "observed")])
  }
}

# Form X's chance score, a dotted line labelled at the top on its right (a chance score of 0 sits on the axis).
mark_chance <- function(chance) {
  graphics::abline(v = chance, lty = 3)
  top <- graphics::par("usr")[4L] - graphics::strheight("M", cex = 0.8)
  graphics::text(chance, top, sprintf("chance score %.4g", chance), pos = 4, offset = 0.3, cex = 0.8)
}

# The standard errors plot() draws on a metric, NULL when x has none: each
# method's delta-method and draws' standard errors (NULL where not run) and
# its 95 % band about 0, from the draws' quantiles when there are draws.
standard_error_series <- function(x, metric) {
  e <- x$standard_errors
  if (is.null(e)) return(NULL)
  column <- if (metric == "raw") "equivalent" else "scale"
  methods <- lapply(c(true = "true", observed = "observed"), function(equating) {
    rows <- e[e$equating == equating & e$metric == metric, ]
    estimate <- x[[paste0(equating, "_score")]][[column]]
    delta <- if (!all(is.na(rows$delta_se))) rows$delta_se
    draws <- if (!all(is.na(rows$draws_se))) rows$draws_se
    band <- if (!is.null(draws)) cbind(rows$draws_lower, rows$draws_upper) - estimate else 1.96 * cbind(-delta, delta)
    list(delta = delta, draws = draws, band = band)
  })
  list(methods = methods, draws = x$draws$draws,
       band_source = if (is.null(x$draws)) "1.96 delta-method standard errors either side" else
         sprintf("the 2.5 %% and 97.5 %% quantiles of %d parametric draws less the estimate", x$draws$draws))
}

plot_standard_errors <- function(raw, errors, chance, unit, extra) {
  series <- unlist(lapply(errors$methods, function(m) c(m$delta, m$draws)))
  draw(list(x = raw, y = series[seq_along(raw)], type = "n", xlab = "form X raw score",
            ylab = sprintf("standard error (%s)", sub(" equivalent$", "", unit)),
            main = "Standard errors of the equivalents", ylim = c(0, max(series) * 1.04)), extra)
  graphics::grid(col = "grey90", lty = 1)
  mark_chance(chance)
  m <- errors$methods
  shapes <- c(true = 19, observed = 1)
  sizes <- c(true = 0.6, observed = 0.8)
  legend <- character()
  style <- list(pch = numeric(), lty = numeric(), col = character())
  add <- function(text, pch, lty, col) {
    legend <<- c(legend, text)
    style$pch <<- c(style$pch, pch)
    style$lty <<- c(style$lty, lty)
    style$col <<- c(style$col, col)
  }
  for (method in names(m)) {
    label <- methods[[match(method, names(m))]]
    if (!is.null(m[[method]]$delta)) {
      graphics::lines(raw, m[[method]]$delta, col = colours[[method]], lty = band_lines[[method]], lwd = 1.5)
      add(sprintf("%s, delta method", label), NA, band_lines[[method]], colours[[method]])
    }
    if (!is.null(m[[method]]$draws)) {
      graphics::points(raw, m[[method]]$draws, col = colours[[method]], pch = shapes[[method]],
                       cex = sizes[[method]])
      add(sprintf("%s, %d draws", label, errors$draws), shapes[[method]], 0, colours[[method]])
    }
  }
  routes <- c(if (!is.null(m$true$delta)) "the delta method (lines)",
              if (!is.null(m$true$draws)) sprintf("the sd of %d parametric draws (points)", errors$draws))
  graphics::mtext(paste("By", paste(routes, collapse = " and by ")), side = 3, line = 0.4, cex = 0.85)
  legend_below(legend, pch = style$pch, lty = style$lty, col = style$col, lwd = 1.5,
               ncol = if (length(legend) > 2L) 2L else length(legend))
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

# A legend at the foot of the device, below the axis titles, where it hides no point: one
# line, or ncol columns.
legend_below <- function(legend, ..., ncol = NULL) {
  where <- list(graphics::grconvertX(0.5, "ndc", "user"), graphics::grconvertY(0, "ndc", "user"), legend,
                xjust = 0.5, yjust = 0, bty = "n", xpd = NA, cex = 0.85)
  layout <- if (is.null(ncol)) list(horiz = TRUE) else list(ncol = ncol)
  do.call(graphics::legend, c(where, layout, list(...)))
}

# plot() with our defaults, any of them overridden by the caller's.
draw <- function(defaults, extra) {
  args <- utils::modifyList(defaults, extra)
  do.call(graphics::plot, args)
}
