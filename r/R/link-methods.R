#' Look at a linking
#'
#' `print()` gives the transformation, the screening (its statistic and cut,
#' the rounds it took and the pairs it removed), the four methods' constants
#' and the anchors flagged and those that fit worst; `summary()` adds every
#' anchor, flagged pairs first and then by decreasing rmsd, with every
#' statistic, the rounds of purification, and each group's ability mean and
#' standard deviation on form Y's scale (from its grid: group 1's after
#' linking), the quantity a linking is usually read by: how much abler group
#' 1 is than group 2.
#'
#' @param x,object An `irteq_linking` object, as [link()] returns (or an
#'   equating's `$linking`, see [equate_files()]).
#' @param ... Not used.
#' @return `print()` returns `x` invisibly; `summary()` an object of class
#'   `summary.irteq_linking`: a list with `method`, `symmetric`, `A`, `B`,
#'   `screen`, `cut`, `methods`, `rounds`, `robust_z_notes` (as in `x`),
#'   `anchors` (as in `x`, flagged pairs first, then by decreasing `rmsd`),
#'   `groups` (a data frame `group`, `mean`, `sd`, on form Y's scale, sd with
#'   the total weight as divisor) and, when the linking has standard errors
#'   (see [equate_files()]), `standard_errors` (as in `x`). The methods'
#'   delta-method standard errors `se_A` and `se_B` are printed beside their
#'   constants, the applied constants' parametric draws below them.
#' @examples
#' y <- items(c("L3", "L3", "L3"), list(0:1, 0:1, 0:1),
#'            list(c(1.7, 1.1, -0.8, 0.2), c(1.7, 0.9, 0.1, 0.15), c(1.7, 1.3, 0.9, 0.2)))
#' x <- y
#' x$parameters <- lapply(y$parameters, function(p) c(p[1], p[2] * 1.2, (p[3] - 0.3) / 1.2, p[4]))
#' lk <- link(x, y, cbind(1:3, 1:3), "haebara", normal_grid(), normal_grid())
#' summary(lk)
#' @name print.irteq_linking
#' @export
print.irteq_linking <- function(x, ...) {
  cat(sprintf("Linking of form X's scale onto form Y's through %d common items\n", nrow(x$anchors)))
  cat(transformation_line(x), "\n", sep = "")
  if (screened(x)) cat(screening_line(x), "\n", sep = "")
  cat("\n")
  print(methods_table(x), digits = 7, row.names = FALSE)
  print_constant_errors(x$standard_errors)
  a <- anchors_in_order(x$anchors)
  cat(if (screened(x)) "\nAnchors flagged, then those that fit worst" else "\nAnchors that fit worst",
      "(rmsd of expected item scores over group 2's grid):\n")
  table <- anchors_table(utils::head(a, max(3L, sum(a$flagged))), screened(x))
  # Within 80 columns: summary() has every column. Labels, when the forms
  # have them, take the model's place.
  labels <- c("x_label", "y_label")
  labelled <- all(labels %in% names(table)) && any(!is.na(table$x_label) & nzchar(table$x_label))
  shown <- intersect(c("x_item", if (labelled) "x_label", "y_item", if (labelled) "y_label", if (!labelled) "model",
                       "rmsd", "z_slope", "z_location", "wald_p", "flagged"), names(table))
  print(table[shown], digits = 4, row.names = FALSE)
  cat("Form X's items and group 1's grid on form Y's scale: $x_items, $x_grid\n")
  invisible(x)
}

#' @rdname print.irteq_linking
#' @export
summary.irteq_linking <- function(object, ...) {
  moments <- function(grid) {
    w <- grid$weight / sum(grid$weight)
    mean <- sum(w * grid$theta)
    c(mean, sqrt(sum(w * (grid$theta - mean)^2)))
  }
  groups <- rbind(moments(object$x_grid), moments(object$y_grid))
  result <- structure(
    list(method = object$method, symmetric = object$symmetric, A = object$A, B = object$B,
         screen = object$screen, cut = object$cut, methods = object$methods,
         anchors = anchors_in_order(object$anchors), rounds = object$rounds,
         robust_z_notes = object$robust_z_notes,
         groups = data.frame(group = c("group 1 (took form X)", "group 2 (took form Y)"), mean = groups[, 1L],
                             sd = groups[, 2L])),
    class = "summary.irteq_linking"
  )
  result$standard_errors <- object$standard_errors
  result
}

#' @rdname print.irteq_linking
#' @export
print.summary.irteq_linking <- function(x, ...) {
  cat(transformation_line(x), "\n\n", sep = "")
  print(methods_table(x), digits = 7, row.names = FALSE)
  print_constant_errors(x$standard_errors)
  cat("\nAbility on form Y's scale, from the groups' grids (group 1's linked):\n")
  groups <- x$groups
  groups[c("mean", "sd")] <- lapply(groups[c("mean", "sd")], zapsmall)
  print(groups, digits = 5, row.names = FALSE)
  cat(sprintf("\nAnchor screening, %s: rmsd and mean difference of form Y's and",
              if (screened(x)) "flagged pairs first, then by rmsd" else "worst first by rmsd"),
      "\nlinked form X's expected item scores over group 2's grid; robust z of the slope and location",
      sprintf("\ndifferences; %s:\n", if (all(is.na(x$anchors$wald))) "no Wald test (no x_cov or y_cov)" else
        "Lord's Wald test"), sep = "")
  print(anchors_table(x$anchors, screened(x)), digits = 4, row.names = FALSE)
  for (note in x$robust_z_notes) cat("robust z: ", note, "\n", sep = "")
  if (screened(x)) {
    cat("\n", screening_line(x), ".\nThe constants above are the kept pairs'; the rounds of purification:\n",
        sep = "")
    rounds <- x$rounds
    rounds$flagged[!nzchar(rounds$flagged)] <- "none"
    names(rounds)[4L] <- "flagged (x/y)"
    print(rounds, digits = 7, row.names = FALSE)
  }
  invisible(x)
}

transformation_line <- function(x) {
  sprintf("theta_Y = A * theta_X + B by %s%s: A = %s, B = %s", x$method, if (x$symmetric) " (symmetric)" else "",
          format(x$A, digits = 7), format(x$B, digits = 7))
}

screened <- function(x) !is.null(x$screen) && x$screen != "none"

# "Screened by robust-z (|z| above 2.7): settled in round 2, 1 of 6 pairs removed (13/3)".
screening_line <- function(x) {
  rule <- switch(x$screen, "robust-z" = "|z| above", rmsd = "rmsd above", wald = "Wald p below")
  removed <- x$rounds$flagged[nrow(x$rounds)]  # in the pairs' order, as the last round flags them
  sprintf("Screened by %s (%s %s): settled in round %d, %d of %d pairs removed%s", x$screen, rule,
          format(x$cut, digits = 7), nrow(x$rounds), sum(x$anchors$flagged), nrow(x$anchors),
          if (nzchar(removed)) sprintf(" (%s)", removed) else "")
}

# Flagged pairs first, then by decreasing rmsd.
anchors_in_order <- function(anchors) anchors[order(!anchors$flagged, -anchors$rmsd), ]

# The anchors as printed: the Wald test's columns when it was run, the screening's when there was one.
anchors_table <- function(anchors, screened) {
  drop <- c(if (all(is.na(anchors$wald))) c("wald", "wald_df", "wald_p"),
            if (!screened) c("flagged", "removed_round"))
  table <- anchors[setdiff(names(anchors), drop)]
  statistics <- intersect(c("rmsd", "mean_difference", "z_slope", "z_location", "wald"), names(table))
  table[statistics] <- lapply(table[statistics], zapsmall)
  names(table)[names(table) == "mean_difference"] <- "mean_diff"
  names(table)[names(table) == "removed_round"] <- "round"
  table
}

# The methods' rows as printed: the applied one marked, a missing one with its reason.
methods_table <- function(x) {
  m <- x$methods
  note <- ifelse(m$available, "", paste("not available:", m$problem))
  note[m$method == x$method] <- "applied"
  table <- data.frame(method = m$method, A = m$A, B = m$B, criterion = m$criterion, steps = m$iterations)
  if (!is.null(m$se_A)) {
    # Within 80 columns beside the standard errors.
    table$criterion <- signif(table$criterion, 4)
    table[c("se_A", "se_B")] <- lapply(m[c("se_A", "se_B")], signif, digits = 4)
  }
  table[[" "]] <- note
  table
}

# The applied constants' parametric draws, when there were any (the delta
# method's standard errors are in the methods table).
print_constant_errors <- function(errors) {
  if (is.null(errors) || all(is.na(errors$draws_se))) return(invisible())
  cat("\nThe applied constants over the parametric draws (sd, and 2.5 % and 97.5 % quantiles):\n")
  print(data.frame(constant = errors$constant, estimate = errors$estimate, draws_se = errors$draws_se,
                   lower = errors$draws_lower, upper = errors$draws_upper), digits = 5, row.names = FALSE)
}

#' Plot a linking
#'
#' Base graphics of the common items before and after linking, for a
#' technical report: form Y's curve, and form X's before linking (its own
#' scale taken for form Y's, dashed) and after (on form Y's scale). After a
#' good linking form X's curve lies on form Y's; an anchor whose curves stay
#' apart has drifted. The abilities run over group 2's grid, whose weights
#' (the weights of the characteristic-curve criteria and the anchor
#' screening) are shaded at the foot.
#'
#' * `"tcc"`: the common items' test characteristic curves (their summed
#'   expected item scores).
#' * `"items"`: each common item's expected item score, one panel per item
#'   (up to twelve to a page), titled with its numbers, model and `rmsd`.
#' * `"drift"`: each pair's form Y parameters against its form X ones after
#'   linking, in two panels: the slopes (the `a` of `"L3"`, `"SN"`, `"SL"`
#'   and `"MU"` items, on log axes) and the locations (`"L3"` b, every
#'   `"SN"`/`"SL"` b(k), every `"MU"` b - d(k), k = 2, ..., m: one point
#'   each), the values the robust z compares (see [link()]); `"BN"` items
#'   have neither. Pairs without drift lie on the identity line. The pairs
#'   the screening flagged are marked and labelled `x_item/y_item`: the
#'   constants are the kept pairs', so a flagged pair stands off the line
#'   by its drift alone.
#'
#' @param x An `irteq_linking` object, as [link()] returns.
#' @param which Any of `"tcc"`, `"items"` and `"drift"`, drawn one after the
#'   other (on an interactive device after a prompt); by default `"tcc"` and
#'   `"items"`.
#' @param items The common items drawn by `"items"`, as positions in the pairs
#'   (rows of `x$anchors`), e.g. `order(-x$anchors$rmsd)[1:4]` for the four
#'   that fit worst. `"drift"` draws every pair.
#' @param ... Further graphical parameters for [graphics::plot()], such as
#'   `main` or `xlim`.
#' @return `x`, invisibly.
#' @examples
#' y <- items(c("L3", "L3", "SN", "MU"), list(0:1, 0:1, 0:2, 0:3),
#'            list(c(1.7, 1.1, -0.8, 0.2), c(1.7, 0.9, 0.4, 0.15), c(1, -0.6, 0.7),
#'                 c(1.7, 0.8, 0.3, 0, 0.6, 0, -0.6)))
#' x <- y
#' x$parameters[[1]] <- c(1.7, 1.3, -0.9, 0.2)
#' x$parameters[[2]] <- c(1.7, 1.0, 0.2, 0.15)
#' lk <- link(x, y, cbind(1:4, 1:4), "stocking-lord", normal_grid(), normal_grid())
#' plot(lk, which = "tcc")
#' plot(lk, which = "items")
#'
#' # Items 1 and 2 drifted: screened by robust z, they are flagged and left out.
#' y <- rbind(y, items(c("L3", "L3"), list(0:1, 0:1), list(c(1.7, 0.8, -0.3, 0.2), c(1.7, 1.2, 1.1, 0.2)),
#'                     item = 5:6))
#' x <- rbind(x, y[5:6, ])
#' x$parameters[5:6] <- list(c(1.7, 0.82, -0.27, 0.2), c(1.7, 1.17, 1.08, 0.2))
#' screened <- link(x, y, cbind(1:6, 1:6), "stocking-lord", normal_grid(), normal_grid(),
#'                  screen = "robust-z", cut = 2.7)
#' plot(screened, which = "drift")
#' @export
plot.irteq_linking <- function(x, which = c("tcc", "items"), items = seq_len(nrow(x$anchors)), ...) {
  call <- sys.call()
  which <- match.arg(which, c("tcc", "items", "drift"), several.ok = TRUE)
  items <- as_integers(items, "items", call)
  if (length(items) == 0L || any(items < 1L | items > nrow(x$anchors))) {
    abort(sprintf("items must be positions of common items, 1 to %d", nrow(x$anchors)), call)
  }
  pages <- split(items, (seq_along(items) - 1L) %/% 12L)
  if (length(which) + ("items" %in% which) * (length(pages) - 1L) > 1L && grDevices::dev.interactive()) {
    old <- grDevices::devAskNewPage(TRUE)
    on.exit(grDevices::devAskNewPage(old), add = TRUE)
  }
  old_par <- graphics::par(mar = c(6.1, 5.1, 4.1, 1.1), mgp = c(3.4, 0.8, 0), las = 1)
  on.exit(graphics::par(old_par), add = TRUE)
  y_range <- range(x$y_grid$theta)
  theta <- seq(y_range[1L], y_range[2L], length.out = 201L)
  expected <- lapply(x$common_items, function(set) {
    core_value(.expected_scores(as_items(set, "items", call), theta), call)
  })
  for (kind in which) {
    if (kind == "tcc") plot_linking_tcc(x, theta, lapply(expected, rowSums), list(...))
    else if (kind == "drift") plot_linking_drift(x, list(...), call)
    else for (page in pages) plot_linking_items(x, theta, expected, page, list(...))
  }
  invisible(x)
}

linking_colours <- c(y = "#000000", x = "#D55E00", x_linked = "#0072B2", weights = "#E5E5E5")
linking_series <- c(y = "form Y", x = "form X before linking", x_linked = "form X after linking")

# Three curves over group 2's weights, shaded at the foot of the panel.
draw_linking_curves <- function(theta, curves, grid) {
  graphics::grid(col = "grey90", lty = 1)
  usr <- graphics::par("usr")
  height <- 0.15 * (usr[4L] - usr[3L]) * grid$weight / max(grid$weight)
  graphics::polygon(c(grid$theta[1L], grid$theta, grid$theta[length(grid$theta)]), usr[3L] + c(0, height, 0),
                    col = linking_colours[["weights"]], border = NA)
  graphics::lines(theta, curves$x, col = linking_colours[["x"]], lty = 2, lwd = 1.5)
  graphics::lines(theta, curves$y, col = linking_colours[["y"]], lwd = 2)
  graphics::lines(theta, curves$x_linked, col = linking_colours[["x_linked"]], lwd = 1.5)
  graphics::box()
}

linking_legend <- function() {
  legend_below(c(linking_series, "group 2's weights"), col = c(linking_colours[names(linking_series)], NA),
               lty = c(1, 2, 1, 0), lwd = c(2, 1.5, 1.5, 0), fill = c(NA, NA, NA, linking_colours[["weights"]]),
               border = NA)
}

plot_linking_tcc <- function(x, theta, tcc, extra) {
  scores <- x$common_items$y$scores
  draw(list(x = theta, y = tcc$y, type = "n", xlab = "ability on form Y's scale",
            ylab = "expected score on the common items", main = "Common items' test characteristic curves",
            ylim = c(sum(vapply(scores, min, 0)), sum(vapply(scores, max, 0)))), extra)
  draw_linking_curves(theta, tcc, x$y_grid)
  graphics::mtext(sprintf("%d common items; %s", nrow(x$anchors), transformation_line(x)), side = 3, line = 0.4,
                  cex = 0.85)
  linking_legend()
}

plot_linking_items <- function(x, theta, expected, page, extra) {
  # Up to 4 by 3 panels, a short page as near that shape as it fills.
  columns <- ceiling(sqrt(length(page) * 4 / 3))
  old <- graphics::par(mfrow = c(ceiling(length(page) / columns), columns), mar = c(3.1, 3.1, 2.1, 0.6),
                       mgp = c(1.9, 0.6, 0), oma = c(3, 0, 3, 0))
  on.exit(graphics::par(old))
  # mfrow shrinks text to two thirds: panel titles and axes would be too small to read in print.
  graphics::par(cex = 0.8)
  scores <- x$common_items$y$scores
  a <- x$anchors
  for (i in page) {
    curves <- lapply(expected, function(e) e[, i])
    draw(list(x = theta, y = curves$y, type = "n", xlab = "ability (form Y's scale)", ylab = "expected score",
              main = sprintf("X %d / Y %d (%s): rmsd %.3g", a$x_item[i], a$y_item[i], a$model[i], a$rmsd[i]),
              ylim = range(scores[[i]]), cex.main = 1), extra)
    draw_linking_curves(theta, curves, x$y_grid)
  }
  graphics::mtext(sprintf("Common items' expected item scores; %s", transformation_line(x)), outer = TRUE,
                  font = 2, cex = 0.95, line = 1)
  linking_legend()
}

# Each item's slope and locations as the moment methods and the robust z pool
# them, from the library: "a"; "b" or each "b(k)", or for "MU" items
# b - d(k), k = 2, ..., m. "BN" items have neither.
drift_terms <- function(set, call) {
  core_value(.slope_and_locations(as_items(set, "items", call)), call)
}

drift_colours <- c(kept = "#0072B2", flagged = "#D55E00", identity = "#7F7F7F")

plot_linking_drift <- function(x, extra, call) {
  terms <- lapply(x$common_items[c("x_linked", "y")], drift_terms, call = call)
  a <- x$anchors
  flagged <- if (is.null(a$flagged)) logical(nrow(a)) else a$flagged
  # One row per value: the pair it belongs to, form X's after linking and form Y's.
  pooled <- function(kind) {
    y <- lapply(terms$y, `[[`, kind)
    list(pair = rep(seq_along(y), lengths(y)), x = unlist(lapply(terms$x_linked, `[[`, kind), use.names = FALSE),
         y = unlist(y, use.names = FALSE))
  }
  old <- graphics::par(mfrow = c(1L, 2L), mar = c(4.6, 4.6, 2.6, 1.1), oma = c(3, 0, 3, 0))
  on.exit(graphics::par(old))
  slopes <- pooled("slope")
  positive <- slopes$x > 0 & slopes$y > 0  # a log axis has no room for the rest
  slopes[c("pair", "x", "y")] <- lapply(slopes, `[`, positive)
  drift_panel(slopes, flagged, a, "Slopes (log axes)", "xy", extra)
  drift_panel(pooled("location"), flagged, a, "Locations", "", extra)
  graphics::mtext("Common items' drift: form Y against form X after linking", outer = TRUE, font = 2, cex = 0.95,
                  line = 1.6)
  graphics::mtext(transformation_line(x), outer = TRUE, cex = 0.85, line = 0.4)
  legend <- c(kept = "common item", flagged = "flagged, with its items x/y", identity = "no drift")
  if (screened(x)) legend[["kept"]] <- "kept"
  shown <- c("kept", if (any(flagged)) "flagged", "identity")
  # Room between the columns: the widest text alone leaves the next symbol touching it.
  width <- 1.25 * max(graphics::strwidth(legend[shown], cex = 0.85))
  legend_below(legend[shown], col = drift_colours[shown], pch = c(kept = 19, flagged = 17, identity = NA)[shown],
               lty = c(kept = 0, flagged = 0, identity = 2)[shown], ncol = length(shown), text.width = width)
}

# One kind's values, form Y's against form X's after linking, the flagged pairs marked and labelled.
drift_panel <- function(values, flagged, anchors, main, log, extra) {
  if (length(values$x) == 0L) {
    graphics::plot.new()
    graphics::title(main = main)
    graphics::text(0.5, 0.5, "none among the common items")
    return(invisible())
  }
  # Room around the points, and on the right for the flagged pairs' labels; on log axes in log units.
  scale <- if (nzchar(log)) base::log else identity
  unscale <- if (nzchar(log)) exp else identity
  ends <- scale(range(values$x, values$y))
  span <- max(diff(ends), 1e-6)
  limits <- unscale(ends + c(-0.06, 0.06) * span)
  xlimits <- unscale(ends + c(-0.06, 0.14) * span)
  draw(list(x = values$x, y = values$y, type = "n", log = log, xlim = xlimits, ylim = limits, main = main,
            xlab = "form X after linking", ylab = "form Y"), extra)
  graphics::grid(col = "grey90", lty = 1)
  graphics::abline(0, 1, col = drift_colours[["identity"]], lty = 2)
  f <- flagged[values$pair]
  graphics::points(values$x[!f], values$y[!f], pch = 19, col = drift_colours[["kept"]])
  graphics::points(values$x[f], values$y[f], pch = 17, cex = 1.2, col = drift_colours[["flagged"]])
  if (any(f)) {
    label <- paste0(anchors$x_item, "/", anchors$y_item)[values$pair[f]]
    graphics::text(values$x[f], values$y[f], label, pos = 4, cex = 0.8, col = drift_colours[["flagged"]], xpd = NA)
  }
  graphics::box()
}
