#' Link form X's scale onto form Y's
#'
#' Scale linking through common items, by the `irteq` library: when form X
#' and form Y were calibrated separately (a nonequivalent-groups design),
#' their parameters sit on two ability scales, and `link()` finds the
#' constants A and B of theta_Y = A theta_X + B that put form X's items and
#' group 1's grid on form Y's scale: the same doubles the console program
#' gives for a control file with a `common_items` record.
#'
#' All four methods are computed; `method` is the one applied.
#' * `"mean-mean"`: A = mean(a_X) / mean(a_Y); `"mean-sigma"`: A = sd(b_Y) /
#'   sd(b_X) (divisor n); both B = mean(b_Y) - A mean(b_X), over the common
#'   items' slopes (the `a` of `"L3"`, `"SN"`, `"SL"` and `"MU"` items) and
#'   locations (`"L3"` b, every `"SN"`/`"SL"` b(k), every `"MU"` b - d(k) for
#'   k = 2, ..., m). `"BN"` items take no part.
#' * `"haebara"`: minimises the weighted sum over group 2's grid of the squared
#'   differences between each common item's form Y category probabilities and
#'   its transformed form X ones (the correct response only of an `"L3"`
#'   item).
#' * `"stocking-lord"`: minimises the weighted sum over group 2's grid of the
#'   squared difference between the common items' form Y and transformed form
#'   X true scores (expected scores with the items' category scores).
#'
#' With `symmetric = TRUE` the two characteristic-curve criteria add the same
#' sum on form X's scale, form Y's common items mapped back, over group 1's
#' grid. The criteria are minimised by Newton's method with analytic
#' derivatives, from the mean/sigma constants (mean/mean where mean/sigma
#' cannot be had; A = 1, B = 0 where neither can). A method that the common items
#' cannot give (e.g. mean/sigma with only `"BN"` items) is listed as not
#' available; if it is the one applied, or if its minimum is not found or
#' gives A <= 0, `link()` raises an error: never a silent estimate.
#'
#' The transformation, applied to every form X item: `"L3"` a / A, A b + B
#' (D and c unchanged); `"SN"`, `"SL"` a / A, each A b(k) + B; `"MU"` a / A,
#' A b + B, each A d(k); `"BN"` each a(k) / A, each c(k) - a(k) B / A; and to
#' each of group 1's points A theta + B (weights unchanged).
#'
#' @section Anchor screening and purification:
#' Every common item's drift is measured against the applied method's
#' constants (the columns of `anchors`, below): the rmsd and mean difference
#' of its form Y and transformed form X expected item scores over group 2's
#' grid; the robust z of its slope and location differences among all the
#' common items' (Huynh and Meyer, 2010), z = (d - median) / (0.74 IQR),
#' d = ln a_Y - ln a_X* for the slope and b_Y - b_X* for each location, the
#' location of largest |z| standing for the item; and, with `x_cov` or
#' `y_cov`, Lord's (1980) Wald test of the difference of its form Y and
#' transformed form X parameters, chi-square with as many degrees of freedom
#' as the parameters estimated.
#'
#' With `screen`, a pair is flagged when its robust z of the slope or of any
#' location exceeds `cut` in magnitude (`"robust-z"`), when its rmsd exceeds
#' `cut` (`"rmsd"`), or when its Wald test's p-value falls below `cut`
#' (`"wald"`, which needs `x_cov` or `y_cov`). Cuts people cite: robust z 2.7
#' (Liu and Jurich, 2022) or 1.645; rmsd 0.10 for dichotomous items (on the
#' item score's scale: polytomous items' scores run wider); Wald p 0.05 or
#' 0.01. Purification (Candell and Drasgow, 1988) links again without the
#' flagged pairs, recomputes every pair's statistics against the new
#' constants (flagged pairs included, so a pair flagged only under the first
#' constants comes back), and goes on until the flagged set is the same twice
#' running. The constants, every method's row and the transformation are the
#' kept pairs'. It is an error (`irteq_error_linking_failed`) when a round
#' flags more than half the pairs (the forms may not be on comparable scales,
#' or the pairs may be wrong), leaves fewer than two, or the flagged set does
#' not settle within 20 rounds. The standard errors (`x_cov`, `y_cov`, and
#' [equate()]'s) take the kept pairs as given: they leave out the
#' uncertainty of which pairs the screening kept.
#'
#' @section Equating after linking:
#' Pass the linking to [equate()] with the items and grids it took,
#' `equate(x_items, y_items, x_grid, y_grid, scale, linking = lk)`: the run
#' links again to the same constants and equates the linked form, and with
#' covariances (`x_cov`, `y_cov`, `se = TRUE` or `draws`) its standard errors
#' carry the linking's error. A screened linking is screened again, by the
#' same statistic and cut, to the same pairs and constants. This is what [equate_files()] does for a
#' control file that names common items, to the last bit, and what the
#' console program's report holds. The linking's `x_items` and `x_grid`, form
#' X's items and group 1's grid on form Y's scale, give the same equivalents,
#' `equate(lk$x_items, y_items, lk$x_grid, y_grid, scale)`, but not their
#' standard errors. To keep the linked parameters, write them with
#' [write_items()] and [write_grid()]: the files read back to the same doubles.
#'
#' @param x_items,y_items The item sets of form X and form Y, each on its own
#'   calibration's scale, as [items()] or [read_items()] return.
#' @param common The common items: a data frame with the columns `x_item` and
#'   `y_item`, one row per common item, its number in form X's item set and in
#'   form Y's (the `item` column, the numbers written in the item files), as
#'   [read_common_items()] gives in `pairs`; or a two-column matrix of them.
#'   A column of text names items by label instead (the `label` column,
#'   `data.frame(x_item = "R05001", y_item = "R05001")`); so do the optional
#'   columns `x_label` and `y_label` where they are not `""` or `NA`, as
#'   [read_common_items()] gives them. Pairs by label link exactly as the same
#'   pairs by number. Each number or label must name one item of its form, no item may be in two pairs,
#'   the two items of a pair must agree in model, categories, category scores
#'   and D, and there must be at least two pairs.
#' @param method The method applied: `"mean-mean"`, `"mean-sigma"`,
#'   `"haebara"` or `"stocking-lord"`, in any case, or as other programs
#'   spell them (`"mean/mean"`, `"MM"`, `"mean/sigma"`, `"MS"`, `"HB"`,
#'   `"Stocking-Lord"`, `"SL"`).
#' @param x_grid The quadrature grid of group 1 (took form X), on form X's
#'   scale, as [normal_grid()] or [read_grid()] return.
#' @param y_grid The quadrature grid of group 2 (took form Y), on form Y's
#'   scale: the characteristic-curve criteria and the anchors' fit use its
#'   points and (normalised) weights.
#' @param symmetric `TRUE` to make the characteristic-curve criteria symmetric
#'   (only with `"haebara"` or `"stocking-lord"`).
#' @param x_cov,y_cov The covariance matrices of form X's (on its own scale)
#'   and form Y's item parameter estimates, as for [equate()], or `NULL`:
#'   with either, every method's delta-method standard errors of A and B, and
#'   every pair's Wald test.
#' @param screen The anchor screening: `"none"` (the default), `"robust-z"`,
#'   `"rmsd"` or `"wald"`, in any case; see the section on screening.
#' @param cut The value that flags a pair, with `screen`: a number above 0
#'   (for `"wald"`, a p-value below 1), e.g. 2.7 for `"robust-z"`.
#' @return An object of class `irteq_linking`, a list with
#' * `method`, `A`, `B`, `symmetric`: the method applied and its constants;
#' * `methods`: a data frame, one row per method: `method`, `A`, `B`,
#'   `criterion` (the characteristic-curve criterion at its minimum; `NA` for
#'   the moment methods), `iterations` (Newton steps; `NA` for the moment
#'   methods), `available` and `problem` (why a method is not available, else
#'   `""`), and with a covariance `se_A` and `se_B`, the delta method's
#'   standard errors (`NA` for a method not available);
#' * `standard_errors` (with a covariance only): the applied constants'
#'   standard errors, as [equate()] describes them;
#' * `screen`, `cut`: the screening statistic (`"none"` without screening)
#'   and its cut (`NULL` without screening);
#' * `anchors`: the anchor screening, a data frame, one row per common item in
#'   the pairs' order, the columns of the console program's
#'   `common_items.csv`, against the applied (with screening, the final)
#'   constants: `x_item`, `y_item` (the items' numbers, however `common`
#'   named them), `model`; `rmsd`, the root-mean-square
#'   difference between its form Y and its transformed form X expected item
#'   scores over group 2's grid (weights normalised), and `mean_difference`,
#'   their mean difference (form Y's minus form X's); `z_slope` and
#'   `z_location`, its robust z (`NA` for `"BN"` items, for a slope not above
#'   0, and for a kind with fewer than 3 values: `robust_z_notes` says why);
#'   `wald`, `wald_df` and `wald_p`, the Wald test's chi-square, degrees of
#'   freedom and p-value (`NA` without `x_cov` and `y_cov`); `flagged`
#'   (logical: in the screening's final flagged set, left out of the
#'   constants; the CSV file writes 1 and 0) and `removed_round`, the round
#'   from which on it stayed flagged (0 for kept pairs); `x_label` and
#'   `y_label`, the items' labels (`""` for none);
#' * `rounds`: with screening, one row per round of purification: `round`,
#'   `A` and `B` (the applied method's constants from the pairs the round
#'   before did not flag) and `flagged`, the pairs this round flags as text
#'   `"x_item/y_item"`, separated by blanks (`""` for none); no rows without
#'   screening;
#' * `robust_z_notes`: why a kind of robust z is missing, if it is;
#' * `x_items`: form X's items on form Y's scale, an item set as [items()]
#'   returns (`"MU"` items stay `"MU"`), of class `irteq_linked_items` too;
#' * `x_grid`: group 1's grid on form Y's scale;
#' * `y_grid`: group 2's grid, as given;
#' * `common_items`: the common items in the pairs' order, item sets `x`
#'   (form X's, before linking), `x_linked` (after) and `y` (form Y's), for
#'   [plot.irteq_linking()].
#' @seealso [print.irteq_linking()], [plot.irteq_linking()],
#'   [read_common_items()]. Other R packages for IRT linking: plink,
#'   equateIRT, SNSequate.
#' @examples
#' # Form X's items are form Y's on a scale theta_X = (theta_Y - 0.5) / 1.25,
#' # but item 3 became harder: the methods give about theta_Y = 1.25 theta_X + 0.5,
#' # and item 3 stands out in the anchor screening.
#' y <- items(c("L3", "L3", "L3", "SN", "MU"), list(0:1, 0:1, 0:1, 0:2, 0:3),
#'            list(c(1.7, 1.1, -0.8, 0.2), c(1.7, 0.9, 0.1, 0.15), c(1.7, 1.3, 0.9, 0.2),
#'                 c(1.0, -0.6, 0.7), c(1.7, 0.8, 0.3, 0, 0.6, 0, -0.6)))
#' x <- y
#' x$parameters <- Map(function(type, p) switch(type,
#'   L3 = c(p[1], p[2] * 1.25, (p[3] - 0.5) / 1.25, p[4]),
#'   SN = c(p[1] * 1.25, (p[-1] - 0.5) / 1.25),
#'   MU = c(p[1], p[2] * 1.25, (p[3] - 0.5) / 1.25, p[4:7] / 1.25)), x$type, x$parameters)
#' x$parameters[[3]][3] <- x$parameters[[3]][3] + 0.3
#' lk <- link(x, y, data.frame(x_item = 1:5, y_item = 1:5), "stocking-lord",
#'            x_grid = normal_grid(-0.4, 0.8), y_grid = normal_grid())
#' lk
#' summary(lk)
#'
#' # Screened by the rmsd of expected item scores: item 3 is flagged, and the
#' # other four give the transformation back.
#' screened <- link(x, y, data.frame(x_item = 1:5, y_item = 1:5), "stocking-lord",
#'                  x_grid = normal_grid(-0.4, 0.8), y_grid = normal_grid(), screen = "rmsd", cut = 0.05)
#' screened
#' screened$rounds
#' plot(screened, which = "drift")
#'
#' # Equating after linking: the forms and grids link() took, and the linking.
#' scale <- list(table = data.frame(raw = 0:8, scale = 100 + 5 * 0:8, rounded = 100 + 5 * 0:8),
#'               scale_min = 100, scale_max = 140, w2 = 0.5)
#' eq <- equate(x, y, normal_grid(-0.4, 0.8), normal_grid(), scale, linking = lk)
#' head(eq$true_score)
#'
#' # With standard errors that carry the linking's, from a covariance made up
#' # for the example: every estimated parameter independent, variance 0.001.
#' v <- diag(0.001, length(parameter_names(x, estimated = TRUE)))
#' link(x, y, data.frame(x_item = 1:5, y_item = 1:5), "stocking-lord",
#'      x_grid = normal_grid(-0.4, 0.8), y_grid = normal_grid(), x_cov = v, y_cov = v)
#' with_se <- equate(x, y, normal_grid(-0.4, 0.8), normal_grid(), scale, linking = lk,
#'                   x_cov = v, y_cov = v, se = TRUE)
#' head(with_se$true_score)
#'
#' # The same from files: a control file that names a common-item file.
#' folder <- tempfile("linked")
#' dir.create(folder)
#' write_items(x, file.path(folder, "formx.par"))
#' write_items(y, file.path(folder, "formy.par"))
#' write_grid(normal_grid(-0.4, 0.8), file.path(folder, "group1.qd"))
#' write_grid(normal_grid(), file.path(folder, "group2.qd"))
#' write_scale_table(scale, file.path(folder, "formy.scl"))
#' write_common_items(data.frame(x_item = 1:5, y_item = 1:5), file.path(folder, "common.txt"),
#'                    "stocking-lord")
#' control <- write_control(c(output = "report.txt", old_para = "formy.par", old_quad = "group2.qd",
#'                            raw2scale = "formy.scl", new_para = "formx.par", new_quad = "group1.qd",
#'                            common_items = "common.txt"), file.path(folder, "control.txt"))
#' from_files <- equate_files(control)
#' from_files
#' identical(from_files$true_score, eq$true_score)
#' @export
link <- function(x_items, y_items, common, method = "stocking-lord", x_grid, y_grid, symmetric = FALSE,
                 x_cov = NULL, y_cov = NULL, screen = c("none", "robust-z", "rmsd", "wald"), cut = NULL) {
  call <- sys.call()
  check_given(c(x_items = missing(x_items), y_items = missing(y_items), common = missing(common),
                x_grid = missing(x_grid), y_grid = missing(y_grid)), call)
  xi <- as_items(x_items, "x_items", call)
  yi <- as_items(y_items, "y_items", call)
  pairs <- as_pairs(common, "common", call)
  symmetric <- check_flag(symmetric, "symmetric", call)
  method <- check_method(method, call)
  screening <- check_screening(screen, cut, call)
  xg <- as_grid(x_grid, "x_grid", call)
  yg <- as_grid(y_grid, "y_grid", call)
  xc <- as_covariance(x_cov, "x_cov", "x_items", call)
  yc <- as_covariance(y_cov, "y_cov", "y_items", call)
  lk <- new_linking(core_value(.link(xi, yi, xg, yg, pairs$x_item, pairs$y_item, pairs$x_label, pairs$y_label,
                                     method, symmetric, screening$screen, cut_value(screening$cut), xc, yc), call))
  if (!is.null(lk$methods$se_A)) {
    applied <- lk$methods$method == lk$method
    lk$standard_errors <- constant_errors(lk, c(delta = lk$methods$se_A[applied]), c(delta = lk$methods$se_B[applied]))
  }
  lk
}

# A method's name, as the library spells it: its own names and other programs' spellings.
check_method <- function(method, call) {
  valid <- "mean-mean, mean-sigma, haebara or stocking-lord (or MM, MS, HB, SL)"
  known <- if (is.character(method) && length(method) == 1L && !is.na(method)) .linking_method(method) else NA
  if (is.na(known)) abort(sprintf("method is %s; write %s", describe(method), valid), call)
  known
}

# The screening statistic, as the library spells it, and its cut (NULL without
# screening): a cut goes with a statistic and a statistic with a cut. The
# cut's range is the library's to check.
check_screening <- function(screen, cut, call) {
  if (identical(screen, c("none", "robust-z", "rmsd", "wald"))) screen <- "none"  # the default, as match.arg() takes it
  known <- if (is.character(screen) && length(screen) == 1L && !is.na(screen)) .screening_statistic(screen) else NA
  if (is.na(known)) abort(sprintf("screen is %s; write none, robust-z, rmsd or wald", describe(screen)), call)
  if (known == "none") {
    if (!is.null(cut)) abort("cut is given but screen is none: name the statistic, robust-z, rmsd or wald", call)
    return(list(screen = known, cut = NULL))
  }
  if (is.null(cut)) abort(sprintf("screen %s needs cut, the value that flags a pair (see ?link)", known), call)
  list(screen = known, cut = as_number(cut, "cut", call))
}

# The cut as the glue takes it: the library reads none without screening.
cut_value <- function(cut) if (is.null(cut)) 0 else cut

# Pairs of item numbers, list(x_item, y_item), from a data frame, a list or a two-column matrix.
as_pairs <- function(x, what, call) {
  columns <- c("x_item", "y_item")
  if (is.matrix(x)) {
    if (!all(columns %in% colnames(x))) {
      if (ncol(x) != 2L) {
        abort(sprintf("%s must be a matrix of two columns, x_item and y_item, not %d", what, ncol(x)), call)
      }
      colnames(x) <- columns
    }
    x <- list(x_item = x[, "x_item"], y_item = x[, "y_item"])
  }
  has_columns(x, columns, what, call)
  x_side <- pair_side(x, "x", what, call)
  y_side <- pair_side(x, "y", what, call)
  list(x_item = x_side$number, y_item = y_side$number, x_label = x_side$label, y_label = y_side$label)
}

# One form's side of the pairs: text names an item by label, a number by
# number. Labels come from a character item column, or from a label column
# (as read_common_items() gives: NA numbers where a label names the item).
# Numbers are 0 where a label names the item, labels "" where a number does.
pair_side <- function(x, form, what, call) {
  item <- x[[paste0(form, "_item")]]
  name <- sprintf("%s$%s_item", what, form)
  if (is.factor(item)) item <- as.character(item)
  label <- if (is.character(item)) item else as_labels(x[[paste0(form, "_label")]], length(item),
                                                        what, call)
  if (is.character(item)) {
    bad <- which(is.na(item) | !nzchar(item))[1L]
    if (!is.na(bad)) abort(sprintf("%s: item labels must not be NA or \"\"", element(name, bad, length(item))), call)
    number <- rep(0L, length(item))
  } else {
    number <- rep(0L, length(item))
    by_number <- !nzchar(label)
    number[by_number] <- as_integers(item[by_number], name, call)
  }
  list(number = unname(number), label = unname(label))
}

# Form X's items after linking are marked: with a covariance of form X's own
# estimates they would give standard errors without the linking's (equate()).
new_linking <- function(v) {
  x_items <- new_items(v$x_items)
  class(x_items) <- c("irteq_linked_items", class(x_items))
  structure(
    list(method = v$method, A = v$A, B = v$B, symmetric = v$symmetric, screen = v$screen, cut = v$cut,
         methods = new_df(v$methods), anchors = new_df(v$anchors), rounds = new_df(v$rounds),
         robust_z_notes = v$robust_z_notes, x_items = x_items, x_grid = new_df(v$x_grid),
         y_grid = new_df(v$y_grid), common_items = lapply(v$common_items, new_items)),
    class = "irteq_linking"
  )
}
