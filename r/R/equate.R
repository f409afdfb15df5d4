#' Equate form X to form Y
#'
#' IRT true score equating and IRT observed score equating of a new form X to
#' an old form Y, by the `irteq` library: the same checks, messages and
#' doubles as the console program's report and its `--csv` files.
#' `equate()` takes the inputs as R objects, `equate_files()` reads them from
#' the files a control file names.
#'
#' Group 1 took form X, group 2 took form Y; all item parameters must be on
#' one ability scale. The grids' weights are divided by their sum. Forms
#' calibrated separately are linked first: pass the linking [link()] gave,
#' with the items and grids it took, `equate(x_items, y_items, x_grid,
#' y_grid, scale, linking = lk)`; or equate the linked items,
#' `equate(lk$x_items, y_items, lk$x_grid, y_grid, scale)` (the same
#' equivalents, but standard errors need the first); or name common items
#' in a control file. Either way the result is the very one of
#' [equate_files()] on the same files, to the last bit.
#'
#' Without `scale` (and with `w2` given), the equating is on the raw score
#' metric alone: the scale scores are form Y's raw score equivalents.
#'
#' Input that cannot be used raises an error of class `irteq_error`, and of
#' a class per kind of failure such as `irteq_error_invalid_input`, whose
#' message names the input as passed (the argument, such as `x_items` or
#' `w2`, or the file and line) and what is wrong with it; the condition also
#' holds the failure's code and place (see [irteq_error]).
#'
#' A root search of true score equating that fails does not stop the
#' equating: its message (e.g. `form X raw score 17: root must be bracketed
#' for zbrent; theta 8`) is signalled as a warning of class `irteq_warning`
#' and listed in the result's `warnings`.
#'
#' @section Precision:
#' The linking constants, the observed score equivalents and the standard
#' errors agree with an independent computation to about 1e-12; the true score
#' equivalents, and their standard errors, are only as close as their thetas:
#' about 1e-6 at the default `root_tolerance`, the console program's (1.8e-6
#' on a 40-item form equated to itself), and about 1e-12 with
#' `root_tolerance = 1e-14`.
#'
#' @section Standard errors:
#' With `se = TRUE`, `draws > 0` or both, and the covariance of at least one
#' form's estimates, the equivalents get standard errors, from the sampling
#' variability of the item parameter estimates alone (the groups' ability
#' distributions are taken as known):
#' * the delta method: the gradient g of each equivalent with respect to
#'   every estimated parameter, differentiated analytically through the
#'   computation, and se = sqrt(g' V g). It takes the estimates as near
#'   enough to normal and the equivalents as near enough to linear over their
#'   spread; at a point where the computation changes branch it takes the
#'   derivative of the branch taken;
#' * parametric draws: the standard deviation of the equivalents over the
#'   draws (divisor R - 1) and their 2.5 % and 97.5 % quantiles (type 7).
#'
#' The data frames `true_score` and `observed_score` then gain the columns
#' `se` and `scale_se` (delta method, raw and scale metric) and
#' `draws_se`, `draws_lower`, `draws_upper`, `scale_draws_se`,
#' `scale_draws_lower` and `scale_draws_upper` (draws), and the result the
#' elements `standard_errors` and `draws` below. A run that links (`linking
#' = lk`, or `equate_files()` on a control file that names common items)
#' carries the linking's error into every standard error, from form X's
#' covariance on its own scale; the linking's `methods` table gains `se_A`
#' and `se_B` (the delta method, for every method) and the linking a data
#' frame `standard_errors` of the applied constants: `constant` (`"A"`,
#' `"B"`), `estimate`, `delta_se`, `draws_se`, `draws_lower`, `draws_upper`.
#' A covariance given for the linked items `lk$x_items` (without the
#' linking) is an error: it would leave the linking's error out.
#'
#' In an interactive session the draws show their progress on a line of
#' standard error (`options(irteq.progress = FALSE)` turns it off); an
#' interrupt (Ctrl-C, Esc) stops them at the next completed draw with an
#' error of class `irteq_error_interrupted`.
#'
#' Without `se` or draws the result is exactly what it is without these
#' arguments.
#'
#' @section Tables of a technical report:
#' With `tables = TRUE`, or cut scores (`cuts`, or `equate_files()` on a
#' control file with a `cut_scores` record naming a cut-score file), the
#' result gains `tables`, the tables of the console program's `--tables`
#' (its CSV files `conversion.csv`, `eap.csv`, `csem.csv`, `reliability.csv`
#' and `classification.csv`, column for column, `NA` where a field is
#' empty), computed over the equated (after linking, the linked) forms with
#' group 1's grid for form X and group 2's for form Y:
#' * `conversion`: per form X raw score, each method's `equivalent`, `scale`
#'   and `reported` score (the rounded scale score clamped to the scale
#'   table's range) and, with cut scores, its performance `level` (by name),
#'   as `raw`, `true_equivalent`, `true_scale`, `true_reported`,
#'   `true_level`, `observed_equivalent`, `observed_scale`,
#'   `observed_reported`, `observed_level`;
#' * `eap`: the summed-score EAP table of each form in its group (see
#'   [eap_table()]): `form`, `raw`, `probability`, `eap`, `sd`;
#' * `csem`: conditional standard errors of measurement, the standard
#'   deviation of a score given theta: `form`, `group`, `equating` (`"true"`,
#'   `"observed"`, or `NA` for form X's raw scores and form Y's scores),
#'   `metric` (`"raw"`, `"scale"`, or `"reported"`), `theta`, `raw` and
#'   `csem`; one row per grid point (`raw` `NA`), and for form X one per raw
#'   score at the theta true score equating found for it (the grid's lowest
#'   up to the chance score, its highest at the top score);
#' * `reliability`: per form and metric, 1 - the grid's weighted mean of the
#'   squared CSEM / the score's variance in the group: `form`, `group`,
#'   `equating`, `metric`, `reliability`;
#' * `classification` (with cut scores only): Lee's (2010) classification
#'   accuracy and consistency of the reported levels, overall (`cut` `NA`:
#'   `false_positive` the probability of a reported level above the true
#'   one, `false_negative` below it) and at each cut (reported at or above
#'   it with the true level below, and the reverse), with Cohen's `kappa`
#'   of the consistency (`NA` unless two levels have any probability):
#'   `form`, `group`, `equating`, `cut`, `accuracy`, `consistency`,
#'   `false_positive`, `false_negative`, `kappa`;
#' * `cut_scores` (with cut scores only): a list of the `cuts` and the
#'   `levels`' names, lowest first;
#' * `scale_min`, `scale_max`: the range of the reported scores.
#'
#' A reported score is in level k + 1 when k cuts are at or below it; the
#' true level at theta is that of the expected reported score.
#' [plot()][plot.irteq_equating()] draws the conversion (`which =
#' "conversion"`) and the conditional standard errors (`which = "csem"`).
#'
#' @param x_items,y_items The item sets of form X (the new form) and form Y
#'   (the old form), as [items()] or [read_items()] return.
#' @param x_grid The quadrature grid of group 1, the group that took form X
#'   (the control file's `new_quad`): a data frame with the columns `theta`
#'   and `weight`, as [normal_grid()] or [read_grid()] return.
#' @param y_grid The quadrature grid of group 2, the group that took form Y
#'   (`old_quad`).
#' @param scale Form Y's raw-to-scale table, as [read_scale_table()] returns:
#'   a list with `table` (a data frame with the columns `raw`, `scale` and
#'   `rounded`, one row per form Y raw score point, lowest first),
#'   `scale_min`, `scale_max` and `w2`. Rows pair with form Y's score points
#'   by position: a `raw` column that says otherwise draws a warning, as the
#'   file reader's does. May be left out when `w2` is given.
#' @param w2 The weight of group 2 in the synthetic population (group 1
#'   gets `1 - w2`).
#' @param control The control file's name. Its file names are taken relative
#'   to its own folder; the report it names is not written. When it names a
#'   common-item file (`common_items NAME`), form X's scale is first linked
#'   onto form Y's by the method that file names, as by [link()], and the
#'   linked forms are equated, as the console program does (screened when
#'   the file has a `screen` line, see [read_common_items()]). Standard errors
#'   (`se`, `draws`) take the covariance files its `new_cov` (form X) and
#'   `old_cov` (form Y) records name (see [read_covariance()]); it must name
#'   at least one. Screening by the Wald test reads them too, as the console
#'   program does.
#' @param strict `TRUE` to make every warning of the readers (numbers left
#'   over on a line, a raw-to-scale row that does not match its score point,
#'   ...) an error of class `irteq_error_input_warning`, as the console
#'   program's `--strict` does: for scripts that must not go on with input
#'   that may have been misread.
#' @param threads The number of threads of one equating (a positive whole
#'   number): the calling thread and `threads - 1` more, started by the call
#'   and ended before it returns, so that `parallel::mclapply()` over
#'   equatings keeps working; the parametric draws run on as many. The
#'   results are the same to the last bit on any number. The default, 1,
#'   leaves the cores to a caller that runs many equatings at once.
#' @param x_cov,y_cov The covariance matrices of form X's and form Y's item
#'   parameter estimates, for standard errors, or `NULL` for a form whose
#'   parameters are taken as known: square numeric matrices over each form's
#'   parameters without D, items in order, each item's values in the order of
#'   its parameters (see [read_covariance()]; [convert_items()] carries a
#'   calibration program's covariance into this order). The two forms'
#'   estimates are taken as independent. A matrix whose `"L3"` c rows and
#'   columns are the covariance of logit(c), as calibration programs estimate
#'   c, says so by `attr(x_cov, "guessing") <- "logit"`: the draws then draw
#'   logit(c) and keep c inside (0, 1), while the delta method takes the
#'   covariance of c, c(1 - c) times the logit's (`"probability"`, or no
#'   attribute: the covariance of c).
#' @param se `TRUE` for delta-method standard errors.
#' @param draws The number of parametric draws (0 for none): each form's
#'   parameters drawn from the normal distribution with the estimates as means
#'   and the covariance given, and equated again (linked again first, by
#'   `equate_files()` on a control file that names common items).
#' @param seed The seed of the draws, a whole number from 0 to 2^53: the same
#'   seed gives the same draws on any machine and any number of threads.
#' @param linking A linking, as [link()] returns it for `x_items`, `y_items`,
#'   `x_grid` and `y_grid` (form X's own items and group 1's grid on form X's
#'   scale): the run links again by its common items, method, `symmetric`
#'   and screening (to the same constants, or an error says the forms
#'   differ; a screening by the Wald test needs `x_cov` or `y_cov`) and equates
#'   the linked form, as `equate_files()` does for a control file that names
#'   common items. `NULL` when the forms are on one scale.
#' @param root_tolerance The theta tolerance of true score equating's root
#'   searches (Brent's method), a number above 0 and at most the default,
#'   1e-6. Each search stops once half its bracket around the theta is at
#'   most r |theta| + `root_tolerance` / 2. The default, with r = 6e-8, is the
#'   console program's: its true score equivalents are within about 1e-6 of
#'   the exact ones (the curve's slope times the theta's error). Below it, r
#'   is twice the double precision (4.4e-16); `1e-14` brings the true score
#'   equivalents, and their standard errors, to within about 1e-12 of the
#'   exact ones. The draws are equated with the same tolerance; nothing else
#'   depends on it.
#' @param tables `TRUE` for the tables of a technical report (see the section
#'   below); cut scores ask for them too.
#' @param cuts The cut scores of the performance levels on form Y's scale, or
#'   `NULL` for none: a numeric vector, each the scale score at which a level
#'   starts, increasing, within the scale table's `scale_min` and
#'   `scale_max`. The result then has the levels in its conversion and the
#'   classification table.
#' @param levels The names of the `length(cuts) + 1` levels, lowest first, or
#'   `NULL` to number them `"1"`, `"2"`, ...
#' @return An object of class `irteq_equating`, a list with
#' * `true_score`: a data frame with one row per form X raw score point:
#'   `raw`, `theta` (the ability at which form X's true score is `raw`; `NA`
#'   where no ability was searched: up to form X's chance score and at its top
#'   score), `equivalent` (on form Y's raw score scale), `scale` and `rounded`
#'   (its form Y scale and rounded scale score);
#' * `observed_score`: a data frame `raw`, `equivalent`, `scale`, `rounded`;
#' * `distributions`: a data frame `form` (`"X"` rows, then `"Y"`), `raw`,
#'   `group1`, `group2` and `synthetic` (the synthetic population's, after the
#'   adjustment of probabilities below 1e-8 that observed score equating makes);
#' * `moments`: a data frame `block` (`"raw"`, `"scale"` or `"rounded"`),
#'   `group` (`"1"`, `"2"` or `"s"`, synthetic), `score` (`"X"`, `"Y"`,
#'   `"true"` or `"observed"`: the equivalents), `mean`, `sd` (with the total
#'   weight as divisor), `skewness`, `kurtosis` (not reduced by 3);
#' * `warnings`: a data frame of the failed root searches, `raw`, `problem`
#'   (`"not_bracketed"` or `"iteration_limit"`), `theta` (the ability used)
#'   and `message`;
#' * `w2`: the weight of group 2 in the synthetic population;
#' * `chance_score`: form X's chance score, its lowest raw score plus the sum
#'   over its `"L3"` items of (u(2) - u(1)) c, up to which true score
#'   equating draws a straight line;
#' * `linking` (with `linking`, or `equate_files()` on a control file that
#'   names common items): the run's linking, an `irteq_linking` object as
#'   [link()] returns;
#' * `standard_errors` (with `se = TRUE` or `draws > 0` only): a data frame
#'   with the columns of the console program's `standard_errors.csv`, one row
#'   per equating method, metric and form X raw score: `raw`, `equating`
#'   (`"true"` or `"observed"`), `metric` (`"raw"` or `"scale"`), `delta_se`,
#'   `draws_se`, `draws_lower` and `draws_upper` (`NA` where the route was not
#'   run);
#' * `draws` (with `draws > 0` only): a list of `draws`, the draws that
#'   entered the statistics, `redraws`, the draws drawn again (an item
#'   the models cannot use, or a linking that failed or gave A <= 0), and
#'   `invalid_items`, a data frame of every item invalid in at least one
#'   attempt (`form` "X" or "Y", `item` its position, `number`, `label`,
#'   `count`), most often first: the items the redraws warning names.
#' * `tables` (with `tables = TRUE` or cut scores only): the tables of a
#'   technical report, see the section above.
#'
#' Its attribute `run`, `attr(result, "run")`, is the run's record, a data
#' frame with the rows and columns of the console program's `run.csv`
#' (`field`, `name`, `value`, `path`, `bytes`, `sha256`): irteq's version,
#' the time the run began (UTC), the front end (`"R equate()"` or `"R
#' equate_files()"`), the options (`strict` for `equate_files()`, `cuts` and
#' `levels` for `equate()` given cuts, `threads`, `root_tolerance`,
#' `delta_method`, `draws`, `seed`, and `tables` when `TRUE`), and one `input`
#' row per file read, with its absolute path, size and SHA-256: the control
#' file and every file it names (the covariance files when standard errors
#' read them). `equate()` reads no file: its one `input` row says `none: built in memory`. Two runs
#' on the same inputs differ in the `time` row alone.
#' @seealso [summary.irteq_equating()], [plot.irteq_equating()],
#'   [as.data.frame.irteq_equating()]. Other R packages for IRT linking and
#'   equating: equateIRT, SNSequate, plink, kequate.
#' @examples
#' folder <- system.file("examples", "spring-grade7", package = "irteq")
#' eq <- equate_files(file.path(folder, "control.txt"))
#' eq
#' head(eq$true_score)
#'
#' # The same from R objects:
#' same <- equate(read_items(file.path(folder, "formx.par")),
#'                read_items(file.path(folder, "formy.par")),
#'                read_grid(file.path(folder, "group1.qd")),
#'                read_grid(file.path(folder, "group2.qd")),
#'                read_scale_table(file.path(folder, "formy.scl")))
#' identical(same$observed_score, eq$observed_score)
#'
#' # Standard errors, from a covariance made up for the example: each of form
#' # X's estimated parameters (see parameter_names()) estimated independently
#' # with variance 0.001, form Y's taken as known.
#' x <- read_items(file.path(folder, "formx.par"))
#' p <- length(parameter_names(x, estimated = TRUE))
#' with_se <- equate(x, read_items(file.path(folder, "formy.par")),
#'                   read_grid(file.path(folder, "group1.qd")),
#'                   read_grid(file.path(folder, "group2.qd")),
#'                   read_scale_table(file.path(folder, "formy.scl")),
#'                   x_cov = diag(0.001, p), se = TRUE, draws = 50)
#' head(with_se$true_score)
#' plot(with_se, which = "se")
#'
#' # Performance levels: the conversion table with each score's level, and
#' # the classification's accuracy and consistency.
#' leveled <- equate(read_items(file.path(folder, "formx.par")),
#'                   read_items(file.path(folder, "formy.par")),
#'                   read_grid(file.path(folder, "group1.qd")),
#'                   read_grid(file.path(folder, "group2.qd")),
#'                   read_scale_table(file.path(folder, "formy.scl")),
#'                   cuts = c(130, 150, 170), levels = c("Below Basic", "Basic", "Proficient", "Advanced"))
#' head(leveled$tables$conversion)
#' leveled$tables$reliability
#' leveled$tables$classification[is.na(leveled$tables$classification$cut), ]
#' plot(leveled, which = "conversion")
#' @export
equate <- function(x_items, y_items, x_grid, y_grid, scale, w2 = scale$w2, threads = 1L, x_cov = NULL,
                   y_cov = NULL, se = FALSE, draws = 0L, seed = 1L, linking = NULL, root_tolerance = 1e-6,
                   tables = FALSE, cuts = NULL, levels = NULL) {
  call <- sys.call()
  check_given(c(x_items = missing(x_items), y_items = missing(y_items), x_grid = missing(x_grid),
                y_grid = missing(y_grid)), call)
  if (missing(scale) && missing(w2)) {
    abort("scale is missing: give form Y's raw-to-scale table, or w2 alone to equate on the raw score metric", call)
  }
  threads <- check_threads(threads, call)
  root_tolerance <- as_number(root_tolerance, "root_tolerance", call)
  request <- standard_error_request(se, draws, seed, call)
  report <- tables_request(tables, cuts, levels, call)
  pairs <- as_linking(linking, call)
  if (inherits(x_items, "irteq_linked_items") && (!is.null(pairs) || !is.null(x_cov) || !is.null(y_cov))) {
    abort(paste("x_items are form X's items after linking (link()'s x_items), on form Y's scale;",
                "for standard errors that carry the linking's error, or to equate by a linking, pass form X's own",
                "items and grid with the linking: equate(x_items, y_items, x_grid, y_grid, scale, linking = lk,",
                "x_cov = , y_cov = , se = TRUE)"), call)
  }
  yi <- as_items(y_items, "y_items", call)
  xi <- as_items(x_items, "x_items", call)
  if (!is.null(pairs)) pairs <- named_as_linked(pairs, xi, yi)
  yg <- as_grid(y_grid, "y_grid", call)
  xg <- as_grid(x_grid, "x_grid", call)
  if (missing(scale)) {
    w2 <- as_number(w2, "w2", call)
    s <- core_value(.raw_score_table(yi, w2), call)
  } else {
    s <- as_scale(scale, "scale", call)
    w2 <- as_number(w2, "w2", call)
  }
  xc <- as_covariance(x_cov, "x_cov", "x_items", call)
  yc <- as_covariance(y_cov, "y_cov", "y_items", call)
  if ((request$se || request$draws > 0L) && is.null(xc) && is.null(yc)) {
    abort(sprintf("%s needs the covariance of the item parameter estimates: give x_cov, y_cov or both",
                  if (request$se) "se = TRUE" else "draws > 0"), call)
  }
  v <- core_value(.run(xi, yi, xg, yg, s, w2, threads, root_tolerance, xc, yc, request$se, request$draws,
                       request$seed, request$progress, pairs$x_item, pairs$y_item, pairs$x_label, pairs$y_label,
                       if (is.null(pairs)) "" else pairs$method, isTRUE(pairs$symmetric),
                       if (is.null(pairs)) "none" else pairs$screen, cut_value(pairs$cut), report$tables,
                       report$cuts, report$levels), call)
  if (!is.null(pairs) && !(identical(v$linking$A, linking$A) && identical(v$linking$B, linking$B))) {
    abort(sprintf(paste("linking was made from other forms or grids than x_items, y_items, x_grid and y_grid: it",
                        "gives A = %s, B = %s, these A = %s, B = %s; pass the items and grids link() took"),
                  format(linking$A, digits = 15), format(linking$B, digits = 15), format(v$linking$A, digits = 15),
                  format(v$linking$B, digits = 15)), call)
  }
  equating_from(v, call)
}

#' @rdname equate
#' @export
equate_files <- function(control, strict = FALSE, threads = 1L, se = FALSE, draws = 0L, seed = 1L,
                         root_tolerance = 1e-6, tables = FALSE) {
  call <- sys.call()
  control <- check_path(control, "control", call)
  strict <- check_flag(strict, "strict", call)
  threads <- check_threads(threads, call)
  root_tolerance <- as_number(root_tolerance, "root_tolerance", call)
  request <- standard_error_request(se, draws, seed, call)
  tables <- check_flag(tables, "tables", call)
  equating_from(core_value(.equate_files(control, strict, threads, root_tolerance, request$se, request$draws,
                                         request$seed, request$progress, tables), call), call)
}

# The equating of what the glue's run gave: its linking, standard errors and
# tables when it has them, and the run's record as the attribute "run".
equating_from <- function(v, call) {
  result <- new_equating(v, call)
  if (!is.null(v$linking)) result$linking <- new_linking(v$linking)
  result <- with_standard_errors(result, v$standard_errors)
  result$tables <- new_tables(v$tables)
  attr(result, "run") <- utils::read.csv(text = v$run, colClasses = c(rep("character", 4), "numeric", "character"))
  result
}

# The pairs, method, symmetric flag and screening of a linking passed to
# equate(), so that the run links as link() did; NULL for none.
as_linking <- function(linking, call) {
  if (is.null(linking)) return(NULL)
  if (!inherits(linking, "irteq_linking")) {
    abort(sprintf("linking must be a linking, as link() returns, not %s", type_name(linking)), call)
  }
  anchors <- linking$anchors
  no_labels <- rep("", length(anchors$x_item))  # a linking made before items had labels
  list(x_item = anchors$x_item, y_item = anchors$y_item,
       x_label = if (is.null(anchors$x_label)) no_labels else anchors$x_label,
       y_label = if (is.null(anchors$y_label)) no_labels else anchors$y_label, method = linking$method,
       symmetric = linking$symmetric, screen = if (is.null(linking$screen)) "none" else linking$screen,
       cut = cut_value(linking$cut))
}

# A linking's anchors name their items by number and label; link() found each
# by the one that names a single item of its form. By number where the number
# does, else by label: the same items again.
named_as_linked <- function(pairs, xi, yi) {
  unique_number <- function(numbers, item) !(numbers %in% item[duplicated(item)])
  x_by_number <- unique_number(pairs$x_item, xi$item) | !nzchar(pairs$x_label)
  y_by_number <- unique_number(pairs$y_item, yi$item) | !nzchar(pairs$y_label)
  pairs$x_label[x_by_number] <- ""
  pairs$y_label[y_by_number] <- ""
  pairs
}

new_equating <- function(v, call) {
  result <- structure(
    list(true_score = new_df(v$true_score), observed_score = new_df(v$observed_score),
         distributions = new_df(v$distributions), moments = new_df(v$moments),
         warnings = new_df(v$warnings), w2 = v$w2, chance_score = v$chance_score),
    class = "irteq_equating"
  )
  for (message in v$warnings$message) {
    warning(irteq_warning(message, call, "irteq_root_finder_warning"))
  }
  result
}
