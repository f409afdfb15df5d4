#' Read a calibration program's parameter file
#'
#' Reads the item parameter file a calibration program wrote and converts it
#' to irteq's items, exactly, with the converters of [convert_items()]: the
#' items keep the labels the program gave them and are numbered 1 to n in
#' file order. The file layouts, what is converted to what, and what is
#' refused are in the package's `docs/calibration-files.md` and one page per
#' program in `docs/calibration/`.
#'
#' flexMIRT and IRTPRO `-prm.txt` files are read: three-parameter logistic
#' items (logit-guessing, intercept, slope) become `L3` items with D = 1,
#' graded items `SL` items with D = 1, nominal and generalized partial credit
#' items `BN` items. A multidimensional item, a four-parameter item, an
#' unknown model code and user-specified contrasts are refused with a message
#' naming the file, the line and the item's label. Winsteps `IFILE=` files
#' are read with their `SFILE=` (`thresholds`): Rasch items become `L3`
#' items, rating-scale and partial credit items `MU` items. PARSCALE and
#' BILOG-MG files are not read yet.
#'
#' @param file The parameter file (flexMIRT's and IRTPRO's `-prm.txt`,
#'   Winsteps' `IFILE=`).
#' @param program The program that wrote it.
#' @param D The metric of the printed slopes, for the programs whose files do
#'   not say it (PARSCALE, BILOG-MG): 1 or 1.7; for Winsteps 1 (logits, the
#'   default) or 1/USCALE. flexMIRT and IRTPRO print logistic-metric values
#'   and take none.
#' @param covariance The program's covariance file (flexMIRT's and IRTPRO's
#'   `-cov.txt`), a square matrix over the values the parameter file prints,
#'   in its order; `NULL` for none.
#' @param thresholds Winsteps' `SFILE=`, the Rasch-Andrich thresholds of its
#'   rating-scale and partial credit items; `NULL` for none.
#' @return `list(items, covariance, groups)`: `items` an item set as
#'   [read_items()] gives, with a `label` column; `covariance` the covariance
#'   of the items' parameters after D (rows and columns named
#'   "item:parameter"), carried from the covariance file by the conversion's
#'   exact Jacobian, in flexMIRT's logit-guessing metric for the `"L3"` items'
#'   c (`attr(, "guessing") == "logit"`, see [equate()]'s `x_cov`), or `NULL`
#'   when none was read; `groups` the group lines
#'   of a flexMIRT or IRTPRO file (`group`, `label`, `mean`, `variance`; `NA`
#'   when the line is not one factor's), no rows for the other programs. A
#'   grid for the form's group is `normal_grid(mean = , sd = sqrt(variance))`.
#' @examples
#' prm <- tempfile(fileext = "-prm.txt")
#' writeLines(c("1\tM01\t1\t1\t1\t2\t-1.386294\t0.5\t1.2",
#'              "1\tG02\t1\t1\t2\t3\t1.0\t-0.5\t1.4"), prm)
#' x <- read_calibration(prm, "flexmirt")
#' x$items
#' probabilities(x$items, theta = 0)
#' @export
read_calibration <- function(file, program = c("flexmirt", "irtpro", "parscale", "bilog", "winsteps"), D = NULL,
                             covariance = NULL, thresholds = NULL) {
  call <- sys.call()
  program <- match.arg(program)
  path <- function(x, what) {
    if (is.null(x)) return("")
    if (!is.character(x) || length(x) != 1L || is.na(x)) {
      abort(sprintf("%s must be one file name, not %s", what, type_name(x)), call)
    }
    x
  }
  if (!is.null(D)) D <- as_number(D, "D", call)
  v <- core_value(.read_calibration(path(file, "file"), program, if (is.null(D)) numeric() else D,
                                    path(covariance, "covariance"), path(thresholds, "thresholds")), call)
  items <- new_items(v$items)
  list(items = items,
       covariance = if (is.null(v$covariance)) NULL else named_covariance(v$covariance, items),
       groups = as.data.frame(v$groups))
}
